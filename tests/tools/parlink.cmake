# The parlink command-line client, run as a process.
if(NOT TARGET parlink-client OR NOT TARGET parlink-regsvr OR NOT TARGET parlink)
  return()
endif()
find_package(nlohmann_json 3 REQUIRED)
dv_add_gtest(parlink_tool_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/parlink/ToolProcess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parlink/ParlinkToolTest.cpp
  LIBS nlohmann_json::nlohmann_json
  TIMEOUT 60)
add_dependencies(parlink_tool_test parlink-client parlink-regsvr parlink)
