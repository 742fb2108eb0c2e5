# D3DX: math, image decoding and textures, mesh loading, the asset generator's output.
orvex_add_test(d3dx_math_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_math.cpp
    LIBS orvex_platform_common)
orvex_add_test(d3dx_image_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_image.cpp
    LIBS orvex_platform_common)
