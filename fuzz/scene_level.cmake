orvex_add_fuzzer(scene_level
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/scene_level.cpp
    LIBS orvex_engine orvex_platform_headless)
