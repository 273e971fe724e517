# The file-backed registry and its command-line editor.
dv_add_gtest(test_registry
  SOURCES RegistryTest.cpp RegistryConcurrencyTest.cpp
  LIBS dv_registry)

dv_add_gtest(test_dvreg
  SOURCES DvregTest.cpp
  LIBS dv_registry)
add_dependencies(test_dvreg dvreg)
