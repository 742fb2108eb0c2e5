#pragma once
// A mesh as a DirectX .x file stores it: vertices, polygon faces, per-vertex normals and
// texture coordinates, a material list, and the frames it hangs from.
#include <stdint.h>
#include <string>
#include <vector>

struct X_Vec3 {
    float x, y, z;
};

struct X_Material {
    std::string name;     // empty: written inline, unnamed
    float diffuse[4];     // r g b a
    float power;
    float specular[3];
    float emissive[3];
    std::string texture;  // empty: none
    // In a mesh's material list: write {name}, a reference to a top-level material of the file.
    bool by_reference = false;
};

struct X_Mesh {
    std::string name;
    std::vector<X_Vec3> positions;
    std::vector<X_Vec3> normals;           // one per vertex, or none
    std::vector<float> uvs;                // two per vertex, or none
    std::vector<std::vector<uint32_t>> faces;
    std::vector<uint32_t> face_materials;  // one per face, or none
    std::vector<X_Material> materials;
};

// A frame with a transform (16 floats, row-major, row vectors), its meshes and child frames.
struct X_Frame {
    std::string name;
    float transform[16];
    std::vector<X_Mesh> meshes;
    std::vector<X_Frame> children;
};

// What a file holds: top-level materials (named, for references), meshes outside any frame,
// and top-level frames, written in that order.
struct X_File {
    std::vector<X_Material> materials;
    std::vector<X_Mesh> meshes;
    std::vector<X_Frame> frames;
};
