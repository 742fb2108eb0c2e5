# Text drawing: 1000 short lines a frame, laid out only, and drawn on the native device off screen.
orvex_add_bench(text_draw_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/text_draw_bench.cpp LIBS orvex_platform_native)
target_include_directories(text_draw_bench PRIVATE ${CMAKE_SOURCE_DIR}/platform/native)
