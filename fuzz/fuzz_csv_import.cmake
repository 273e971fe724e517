# The contacts import over arbitrary files: line reading, header mapping,
# field splitting and cutting, groups and duplicates.
dv_add_fuzzer(fuzz_csv_import
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/csv/FuzzCsvImport.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/csv/corpus
  LIBS dv_contacts)
