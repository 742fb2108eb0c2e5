# Scene objects and the object manager: on the headless platform, and the default level drawn
# by the engine on the native platform under Xvfb.
orvex_add_test(objects_tests
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/objects_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/scene_test_support.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/core_test_support.cpp
    LIBS orvex_engine orvex_platform_headless)
orvex_add_test(objects_native_tests
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/objects_native_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_server.cpp
    LIBS orvex_engine orvex_platform_native
    LABELS e2e)
