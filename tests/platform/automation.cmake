# The automation runtime: strings, variants, error objects, GUIDs, the C
# binary interface, and object creation against a real server module.
dv_add_gtest(test_automation_runtime
  SOURCES AutomationAbi.c AutomationAbiTest.cpp AutomationBStrTest.cpp AutomationErrorInfoTest.cpp
          AutomationGuidTest.cpp AutomationVariantTest.cpp
  LIBS automation)
# The test calls an object written in C through C++: no C++ type
# information behind its table, by design.
if("undefined" IN_LIST DV_SANITIZE)
  set_source_files_properties(AutomationAbiTest.cpp PROPERTIES COMPILE_OPTIONS -fno-sanitize=vptr)
endif()

# The server module the activation tests register and load.
add_library(dvtest_automation_server SHARED AutomationTestServer.cpp)
target_link_libraries(dvtest_automation_server PRIVATE automation)
set_target_properties(dvtest_automation_server PROPERTIES
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

dv_add_gtest(test_automation_activation
  SOURCES AutomationActivationTest.cpp AutomationTypeLibTest.cpp
  LIBS automation dv_registry)
add_dependencies(test_automation_activation dvtest_automation_server)
