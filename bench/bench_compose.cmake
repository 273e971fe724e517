# Composition and contacts exchange: the counter, the contacts import and the
# outbox export.
dv_add_bench(compose
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/compose/BenchCompose.cpp
  LIBS dv_compose dv_contacts)
