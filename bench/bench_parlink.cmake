# Parlink's request rate: SendMsg through the SMS object's vtable against an
# in-process recording server on loopback.
if(TARGET parlink_core AND TARGET dv_test_support)
  dv_add_bench(parlink
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/parlink/SendMsgBench.cpp
    LIBS parlink_core dv_test_support)
  target_include_directories(bench_parlink PRIVATE ${PROJECT_SOURCE_DIR}/apilib)
endif()
