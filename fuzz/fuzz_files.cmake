# Files the program reads from disk: registry key files and the translation
# file. Only the readers are built into the targets.
dv_add_fuzzer(fuzz_key_file
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/key-file/FuzzKeyFile.cpp
    ${PROJECT_SOURCE_DIR}/platform/registry/src/KeyFile.cpp
    ${PROJECT_SOURCE_DIR}/platform/registry/src/NameCodec.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/key-file/corpus
  INCLUDES ${PROJECT_SOURCE_DIR}/platform/registry/src)
dv_add_fuzzer(fuzz_translation
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/translation/FuzzTranslation.cpp
    ${PROJECT_SOURCE_DIR}/app/shell/StringTable.cpp ${PROJECT_SOURCE_DIR}/app/shell/StringTableData.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/translation/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app)
