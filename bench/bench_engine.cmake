# Messaging engine benchmarks: batch against single sends, merged sends and
# a status pass against the gateway simulator on loopback, and the store
# time of one worker tick over 100,000 messages.
if(TARGET dv_engine AND TARGET gateway_sim_core AND TARGET parlink)
  find_package(nlohmann_json 3 REQUIRED)
  dv_add_bench(engine SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/EngineBench.cpp
    LIBS dv_engine gateway_sim_core nlohmann_json::nlohmann_json)
  add_dependencies(bench_engine parlink)
  target_compile_definitions(bench_engine PRIVATE
    DV_BENCH_LIB_DIR="${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()
