# gateway-sim: unit tests of its parts, the simulator over HTTP driven with
# the library's requests, and the program itself. GatewaySimProcess (start
# the program on a free port) is a library other tests may link:
# gateway_sim_test_support.
if(TARGET gateway_sim_core)
  find_package(CURL REQUIRED)
  find_package(OpenSSL REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)

  set(_gs_dir ${CMAKE_CURRENT_SOURCE_DIR}/gateway-sim)
  add_library(gateway_sim_test_support STATIC
    ${_gs_dir}/GatewaySimProcess.cpp ${_gs_dir}/SimClient.cpp ${_gs_dir}/SimFixture.cpp)
  target_include_directories(gateway_sim_test_support PUBLIC ${_gs_dir})
  target_link_libraries(gateway_sim_test_support
    PUBLIC gateway_sim_core dv_test_support CURL::libcurl OpenSSL::SSL OpenSSL::Crypto)

  dv_add_gtest(gateway_sim_unit_test
    SOURCES ${_gs_dir}/WireFormatTest.cpp ${_gs_dir}/MessageRulesTest.cpp ${_gs_dir}/SimStateTest.cpp
    LIBS gateway_sim_core dv_codepage nlohmann_json::nlohmann_json)
  target_include_directories(gateway_sim_unit_test PRIVATE ${CMAKE_SOURCE_DIR}/tools/gateway-sim/src)

  dv_add_gtest(gateway_sim_http_test
    SOURCES ${_gs_dir}/GatewayApiTest.cpp ${_gs_dir}/GatewayBatchTest.cpp
            ${_gs_dir}/GatewayControlTest.cpp
    LIBS gateway_sim_test_support nlohmann_json::nlohmann_json)

  dv_add_gtest(gateway_sim_program_test
    SOURCES ${_gs_dir}/GatewaySimProgramTest.cpp
    LIBS gateway_sim_test_support nlohmann_json::nlohmann_json)
  add_dependencies(gateway_sim_program_test gateway-sim)
endif()

# The Parlink object against the simulator, once the library is there.
if(TARGET gateway_sim_core AND TARGET parlink_core)
  dv_add_gtest(gateway_sim_parlink_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/gateway-sim/ParlinkAgreementTest.cpp
    LIBS gateway_sim_test_support parlink_core nlohmann_json::nlohmann_json
    TIMEOUT 60)
  target_include_directories(gateway_sim_parlink_test PRIVATE ${PROJECT_SOURCE_DIR}/apilib ${PROJECT_SOURCE_DIR}/tests/apilib)
  # The secure path always connects to 127.0.0.1:443.
  dv_add_gtest(gateway_sim_parlink_secure_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/gateway-sim/ParlinkSecureTest.cpp
    LIBS gateway_sim_test_support parlink_core
    RESOURCE_LOCK port443
    TIMEOUT 60)
  target_include_directories(gateway_sim_parlink_secure_test PRIVATE ${PROJECT_SOURCE_DIR}/apilib)
endif()
