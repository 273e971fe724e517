# Request rate of the gateway simulator (in-process server, loopback
# clients): keep-alive HTTP/1.1 and one-connection-per-request HTTP/1.0.
if(TARGET gateway_sim_core)
  pkg_check_modules(CPPHTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
  dv_add_bench(gateway_sim
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/gateway-sim/GatewaySimBench.cpp
    LIBS gateway_sim_core PkgConfig::CPPHTTPLIB Threads::Threads)
endif()
