# Scene objects and the object manager, on the headless platform. They draw through effects, so
# they wait for the headless effects.
if(EXISTS ${CMAKE_SOURCE_DIR}/platform/headless/d3dx_effect.cpp)
    orvex_add_test(objects_tests
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/objects_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/scene_test_support.cpp
        LIBS orvex_engine orvex_platform_headless)
endif()
