dv_add_gtest(test_lockfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/LockFileTest.cpp LIBS dv_lockfile)
