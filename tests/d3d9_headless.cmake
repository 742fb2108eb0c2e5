# The recording Direct3D 9 device, and line and box drawing on it.
orvex_add_test(d3d9_headless_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3d9_headless_test.cpp ${CMAKE_SOURCE_DIR}/core/draw_lines.cpp
    LIBS orvex_platform_headless)
target_include_directories(d3d9_headless_test PRIVATE ${CMAKE_SOURCE_DIR})
