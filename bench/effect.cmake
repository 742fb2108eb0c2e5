# D3DX effects on the native device off screen: creating the default effect, and frames drawn
# through it (the cost per frame should stay flat, with no compilation or allocation per frame).
orvex_add_bench(effect_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/effect_bench.cpp LIBS orvex_platform_native)
target_include_directories(effect_bench PRIVATE ${CMAKE_SOURCE_DIR}/platform)
