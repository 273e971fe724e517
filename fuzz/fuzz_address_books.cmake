# The desktop's address books and the files that name them: personal vCards
# (through the contacts library's vCard parser), Thunderbird's prefs.js, and
# the INI text of profiles.ini, desktop entries and khard's configuration.
# Only the readers are built into the targets.
set(_contacts ${PROJECT_SOURCE_DIR}/app/contacts)
pkg_check_modules(FUZZ_EBOOK_CONTACTS REQUIRED IMPORTED_TARGET libebook-contacts-1.2)
dv_add_fuzzer(fuzz_vcard
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/vcard/FuzzVCard.cpp ${_contacts}/VCardReader.cpp
    ${_contacts}/VCardText.cpp ${_contacts}/MobileNumber.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/vcard/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app
  LIBS dv_codepage PkgConfig::FUZZ_EBOOK_CONTACTS)
dv_add_fuzzer(fuzz_thunderbird_prefs
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/thunderbird-prefs/FuzzThunderbirdPrefs.cpp
    ${_contacts}/ThunderbirdPrefs.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/thunderbird-prefs/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app)
dv_add_fuzzer(fuzz_ini
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini/FuzzIni.cpp ${_contacts}/IniText.cpp
    ${_contacts}/KhardConfig.cpp ${_contacts}/FileText.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/ini/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app)
