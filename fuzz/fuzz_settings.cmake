# fuzz_settings: the settings file loader on arbitrary bytes.
dv_add_fuzzer(fuzz_settings SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings/FuzzSettings.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/settings/corpus LIBS dv_shell)
