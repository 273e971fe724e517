# dv_add_gtest(NAME SOURCES src... [LIBS lib...] [LABELS l...] [RESOURCE_LOCK name] [TIMEOUT s])
#
# A GoogleTest executable whose cases ctest lists one by one. Each test
# process runs in its own temporary registry and data folders (the test
# main of tests/support sets DOVETEXT_REGISTRY and the XDG folders), so no
# test touches the user's files.
function(dv_add_gtest name)
  cmake_parse_arguments(ARG "" "RESOURCE_LOCK;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE dv_test_support ${ARG_LIBS})
  set(props "")
  if(ARG_RESOURCE_LOCK)
    list(APPEND props RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  list(APPEND props TIMEOUT ${ARG_TIMEOUT})
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${props} ENVIRONMENT "DV_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# dv_add_fuzzer(NAME SOURCES src... [LIBS lib...])
function(dv_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# dv_add_bench(AREA SOURCES src... [LIBS lib...]) -> target bench_<area>
function(dv_add_bench area)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${area} ${ARG_SOURCES})
  target_link_libraries(bench_${area} PRIVATE benchmark::benchmark ${ARG_LIBS})
endfunction()
