# parlink-regsvr and the install script, run as processes.
if(NOT TARGET parlink-regsvr OR NOT TARGET parlink)
  return()
endif()
dv_add_gtest(parlink_regsvr_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/parlink/ToolProcess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parlink/RegsvrToolTest.cpp
  LIBS dv_registry
  TIMEOUT 60)
target_compile_definitions(parlink_regsvr_test PRIVATE DV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_dependencies(parlink_regsvr_test parlink-regsvr parlink)
