# The Direct3D 9 device against the same frame written directly in OpenGL, off screen.
orvex_add_bench(device_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/device_bench.cpp ${CMAKE_SOURCE_DIR}/core/draw_lines.cpp
    LIBS orvex_platform_native)
target_include_directories(device_bench PRIVATE ${CMAKE_SOURCE_DIR})
