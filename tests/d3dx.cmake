# D3DX: math, image decoding and textures, mesh loading, the asset generator's output.
orvex_add_test(d3dx_math_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_math.cpp
    LIBS orvex_platform_common)
orvex_add_test(d3dx_image_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_image.cpp
    LIBS orvex_platform_common)
orvex_add_test(d3dx_mesh_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_mesh.cpp
    LIBS orvex_platform_headless)
# The generator rebuilds the committed meshes, textures and cursor byte for byte.
add_test(NAME AssetGen.RebuildsTheCommittedAssetsExactly
    COMMAND orvex_asset_gen --out ${CMAKE_CURRENT_BINARY_DIR}/asset_gen_out --compare ${CMAKE_SOURCE_DIR})
set_tests_properties(AssetGen.RebuildsTheCommittedAssetsExactly PROPERTIES TIMEOUT 120)
orvex_add_test(d3dx_texture_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_texture.cpp
    LIBS orvex_platform_headless)
