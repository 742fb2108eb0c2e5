# The OpenGL device off screen: SDL's "offscreen" video driver on Mesa's software rasteriser.
orvex_add_test(d3d9_native_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3d9_native_test.cpp ${CMAKE_SOURCE_DIR}/core/draw_lines.cpp
    LIBS orvex_platform_native)
target_include_directories(d3d9_native_test PRIVATE ${CMAKE_SOURCE_DIR})
