orvex_add_bench(scene_managers
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/scene_managers.cpp
    LIBS orvex_engine orvex_platform_headless)
