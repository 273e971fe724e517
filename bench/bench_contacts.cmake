# bench_contacts: 5,000 contacts from each address-book source into the tree
# (the data server's in a session bus of the benchmark's own).
if(TARGET dv_contacts AND TARGET dv_test_support)
  pkg_check_modules(BENCH_EBOOK REQUIRED IMPORTED_TARGET libebook-1.2 sqlite3)
  dv_add_bench(contacts
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/contacts/BenchContacts.cpp
    LIBS dv_contacts dv_test_support PkgConfig::BENCH_EBOOK)
endif()
