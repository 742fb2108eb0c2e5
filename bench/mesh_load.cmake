# D3DXLoadMeshFromXA on a 1,000,000-triangle .x file (plain and compressed) against Assimp alone on the same file.
orvex_add_bench(mesh_load
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mesh_load.cpp
        ${CMAKE_SOURCE_DIR}/tools/asset_gen/x_writer.cpp
        ${CMAKE_SOURCE_DIR}/tools/asset_gen/x_compress.cpp
    LIBS orvex_platform_headless)
target_include_directories(mesh_load PRIVATE ${CMAKE_SOURCE_DIR})
