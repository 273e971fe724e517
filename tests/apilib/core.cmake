# The SMS object, its operations and the request transport, driven through
# the object's vtable against in-process recording servers.
if(NOT TARGET parlink_core)
  return()
endif()

dv_add_gtest(parlink_core_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TextPiecesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SmsPropertiesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageOperationsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BatchOperationsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AccountOperationsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OtaOperationsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlainTransportTest.cpp
  LIBS parlink_core
  TIMEOUT 60)
target_include_directories(parlink_core_test PRIVATE ${PROJECT_SOURCE_DIR}/apilib)

# The secure path binds 127.0.0.1:443 for its server, so these tests never
# run at the same time as each other.
find_package(OpenSSL REQUIRED)
dv_add_gtest(parlink_secure_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SecureTransportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TlsTestServer.cpp
  LIBS parlink_core OpenSSL::SSL OpenSSL::Crypto
  RESOURCE_LOCK port443
  TIMEOUT 60)
target_include_directories(parlink_secure_test PRIVATE ${PROJECT_SOURCE_DIR}/apilib)
