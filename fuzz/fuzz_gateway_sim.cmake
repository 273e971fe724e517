# gateway-sim's form parameters and message options. Only the readers are
# built into the target.
set(_sim ${PROJECT_SOURCE_DIR}/tools/gateway-sim/src)
dv_add_fuzzer(fuzz_form_params
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/form-params/FuzzFormParams.cpp ${_sim}/FormParams.cpp
    ${_sim}/MessageOptions.cpp ${_sim}/DestinationRules.cpp ${_sim}/MessageCharger.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/form-params/corpus
  INCLUDES ${_sim} ${PROJECT_SOURCE_DIR}/tools/gateway-sim/include)
