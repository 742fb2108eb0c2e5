# Cameras, lights and the effect manager, on the headless platform. The effect manager's test
# compiles effects, so it waits for the headless effects.
set(ORVEX_SCENE_TESTS cameras_test lights_test)
file(GLOB ORVEX_HEADLESS_EFFECT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/headless/*effect*.cpp)
if(ORVEX_HEADLESS_EFFECT_SOURCES)
    list(APPEND ORVEX_SCENE_TESTS effect_manager_test)
endif()
foreach(test IN LISTS ORVEX_SCENE_TESTS)
    orvex_add_test(${test}
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${test}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/scene_test_support.cpp
        LIBS orvex_engine orvex_platform_headless)
endforeach()
