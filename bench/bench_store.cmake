# bench_store: the store's speed on 100,000 messages and 20,000 contacts.
dv_add_bench(store SOURCES ${CMAKE_CURRENT_LIST_DIR}/store/BenchStore.cpp LIBS dv_store)
