# D3DX core: buffers, code page 1251, glyphs, layout, and fonts on the headless device.
orvex_add_test(d3dx_font_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_font_test.cpp
    LIBS orvex_platform_headless)

# Fonts on the native device, off screen: the pixels they draw.
orvex_add_test(d3dx_font_native_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_font_native_test.cpp
    LIBS orvex_platform_native)
target_include_directories(d3dx_font_native_test PRIVATE ${CMAKE_SOURCE_DIR}/platform/native)
