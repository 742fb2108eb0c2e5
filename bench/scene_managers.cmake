# One frame's work of the camera, light and effect managers; it compiles effects, so it waits
# for the headless effects.
file(GLOB ORVEX_HEADLESS_EFFECT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/headless/*effect*.cpp)
if(ORVEX_HEADLESS_EFFECT_SOURCES)
    orvex_add_bench(scene_managers
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/scene_managers.cpp
        LIBS orvex_engine orvex_platform_headless)
endif()
