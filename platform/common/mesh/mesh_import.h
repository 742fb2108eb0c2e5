#pragma once
// Mesh files to the arrays of one D3DX mesh, through Assimp, with no device involved (the fuzz
// target and the tests call it directly).
#include <d3d9.h>
#include <d3dx9mesh.h>

#include <stddef.h>
#include <stdint.h>
#include <string>
#include <vector>

struct Mesh_Material {
    D3DMATERIAL9 material;
    bool has_texture = false;
    std::string texture;  // as stored in the file
};

struct Mesh_Data {
    DWORD fvf = 0;     // D3DFVF_XYZ plus NORMAL, DIFFUSE and TEX1 as the file has them
    UINT stride = 0;   // bytes per vertex
    std::vector<uint8_t> vertices;
    std::vector<uint32_t> indices;             // three per face, triangle list
    std::vector<DWORD> attributes;             // one subset id per face
    std::vector<D3DXATTRIBUTERANGE> subsets;   // one per material, in file order
    std::vector<Mesh_Material> materials;      // one per subset

    DWORD face_count() const { return (DWORD)attributes.size(); }
    DWORD vertex_count() const { return stride ? (DWORD)(vertices.size() / stride) : 0; }
};

// Reads a mesh file (the path goes through the platform's path resolver). D3DXERR_INVALIDDATA
// for a file that is missing, empty, not a regular file, or that the importer refuses or that
// holds no triangles; *out is then empty.
HRESULT import_mesh_file(const char* path, Mesh_Data* out);
// The same for a file image in memory; hint is a file extension ("x", "obj") or null. A .x or
// binary glTF image is known by its first bytes, whatever the hint.
HRESULT import_mesh_memory(const void* data, size_t size, const char* hint, Mesh_Data* out);

// Three entries per face: the face across each edge (v0-v1, v1-v2, v2-v0), 0xFFFFFFFF where
// there is none. Faces meet where their vertices share positions, whatever the other components.
std::vector<DWORD> mesh_adjacency(const Mesh_Data& mesh);
