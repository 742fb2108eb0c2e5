# Face names and text handed to fonts: face matching, code page 1251 conversion, glyph cache, layout.
orvex_add_fuzzer(d3dx_font_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_font_fuzz.cpp LIBS orvex_platform_common)
