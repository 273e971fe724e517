# Warnings, sanitizers and fuzzing switches shared by every target.

set(DV_SANITIZE "" CACHE STRING "Sanitizers to build with: address;undefined or thread")
option(DV_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

add_compile_options(-Wall -Wextra)

if(DV_SANITIZE)
  set(_dv_san_flags "")
  foreach(s IN LISTS DV_SANITIZE)
    list(APPEND _dv_san_flags -fsanitize=${s})
  endforeach()
  list(APPEND _dv_san_flags -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${_dv_san_flags})
  add_link_options(${_dv_san_flags})
  message(STATUS "Sanitizers: ${DV_SANITIZE}")
endif()

if(DV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "DV_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
