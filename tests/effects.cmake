# D3DX effects: the effect reader and compiler, the effect interface and the native effect drawing off screen.
orvex_add_test(effects_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/effects_test.cpp
    LIBS orvex_platform_common)

# The native effect drawing off screen: SDL's "offscreen" video driver on Mesa's software rasteriser.
orvex_add_test(effects_native_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/effects_native_test.cpp
    LIBS orvex_platform_native)

