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

# dv_add_fuzzer(NAME SOURCES src... CORPUS dir [LIBS lib...] [INCLUDES dir...])
#
# With DV_FUZZ, the libFuzzer program NAME. In the ordinary build (with
# tests), the program NAME_replay (the same target with fuzz/ReplayMain.cpp
# in place of libFuzzer) and the ctest case NAME_corpus, which runs every
# file of the seed corpus through the target once.
function(dv_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS;INCLUDES" ${ARGN})
  if(DV_FUZZ)
    set(target ${name})
    add_executable(${target} ${ARG_SOURCES})
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  else()
    set(target ${name}_replay)
    add_executable(${target} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    add_test(NAME ${name}_corpus COMMAND ${target} ${ARG_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 120)
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  target_include_directories(${target} PRIVATE ${ARG_INCLUDES})
endfunction()

# dv_add_bench(AREA SOURCES src... [LIBS lib...]) -> target bench_<area>
function(dv_add_bench area)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${area} ${ARG_SOURCES})
  target_link_libraries(bench_${area} PRIVATE benchmark::benchmark ${ARG_LIBS})
endfunction()
