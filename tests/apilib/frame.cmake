# The automation frame of libparlink.so: registration, type information,
# dispatch by name and the object's lifetime, driven through the library's
# exports and the automation runtime (a C11 client included).
if(NOT TARGET parlink)
  return()
endif()

dv_add_gtest(parlink_frame_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/frame/FrameTestSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame/FrameRegistrationTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame/FrameDispatchTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame/FrameObjectTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame/FrameTypeInfoTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame/FrameCClient.c
    ${CMAKE_CURRENT_LIST_DIR}/frame/FrameCClientTest.cpp
  LIBS automation dv_registry dv_codepage ${CMAKE_DL_LIBS}
  TIMEOUT 60)
target_include_directories(parlink_frame_test PRIVATE ${PROJECT_SOURCE_DIR}/apilib/include)
add_dependencies(parlink_frame_test parlink)
