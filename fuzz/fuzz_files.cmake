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
# The update server's version file "update.ver". The version reader carries
# the program's own version, as in dv_update.
set(_update ${PROJECT_SOURCE_DIR}/app/shell/update)
set_source_files_properties(${_update}/FileVersion.cpp PROPERTIES COMPILE_DEFINITIONS
  "DOVETEXT_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};DOVETEXT_VERSION_MINOR=${PROJECT_VERSION_MINOR};DOVETEXT_VERSION_RELEASE=${PROJECT_VERSION_PATCH};DOVETEXT_VERSION_BUILD=${PROJECT_VERSION_TWEAK}")
dv_add_fuzzer(fuzz_update_ver
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/update-ver/FuzzUpdateVer.cpp
    ${_update}/UpdateDescriptor.cpp ${_update}/FileVersion.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/update-ver/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app/shell)
