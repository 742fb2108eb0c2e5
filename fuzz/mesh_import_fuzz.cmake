# The mesh importer behind D3DXLoadMeshFromXA, compiled into the target for coverage.
orvex_add_fuzzer(mesh_import_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mesh_import_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/mesh/mesh_import.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/mesh/mesh_x_check.cpp LIBS orvex_platform_common)
target_include_directories(mesh_import_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/platform)
