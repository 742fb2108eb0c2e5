# The recording Direct3D 9 device.
orvex_add_test(d3d9_headless_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3d9_headless_test.cpp
    LIBS orvex_platform_headless)
