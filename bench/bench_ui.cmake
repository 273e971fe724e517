# bench_ui: the pages on the sizes of a busy installation (Qt, offscreen): the
# Outbox list over 100,000 messages (rebuild, sorting, scrolling), the
# Addresses page over 20,000 contacts and the SMS page's contact tree.
if(TARGET dv_ui)
  dv_add_bench(ui SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui/BenchUi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/AddressesBench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/SmsPageBench.cpp ${CMAKE_CURRENT_LIST_DIR}/ui/BenchUiMain.cpp
    LIBS dv_ui)
endif()
