// Mesh files: what the importer makes of a hand-written .x file, binary and compressed twins of
// text files, and the bad files it must refuse.
#include "common/mesh_import.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const std::string kData = std::string(ORVEX_SOURCE_DIR) + "/tests/data/meshes/";

D3DXVECTOR3 position(const Mesh_Data& m, uint32_t vertex)
{
    D3DXVECTOR3 p;
    memcpy(&p.x, &m.vertices[(size_t)vertex * m.stride], 12);
    return p;
}

D3DXVECTOR3 corner(const Mesh_Data& m, size_t face, int k) { return position(m, m.indices[face * 3 + k]); }

Mesh_Data import_ok(const std::string& path)
{
    Mesh_Data m;
    EXPECT_EQ(import_mesh_file(path.c_str(), &m), D3D_OK) << path;
    return m;
}

Mesh_Data import_text(const std::string& text)
{
    Mesh_Data m;
    EXPECT_EQ(import_mesh_memory(text.data(), text.size(), "x", &m), D3D_OK) << text;
    return m;
}

// A pentagon (material 1) and a triangle (material 0), with texture coordinates, in one mesh
// whose material list names a top-level material and defines one inline.
const char* kHandWritten = R"(xof 0303txt 0032
Material Red {
 1.0;0.0;0.0;1.0;;
 5.0;
 0.5;0.5;0.5;;
 0.0;0.0;0.25;;
 TextureFilename { "red.bmp"; }
}
Mesh Shape {
 6;
 0.0;0.0;0.0;, 2.0;0.0;0.0;, 3.0;1.0;0.0;, 1.0;2.0;0.0;, -1.0;1.0;0.0;, 0.0;0.0;-5.0;;
 2;
 5;0,4,3,2,1;,
 3;0,1,5;;
 MeshTextureCoords { 6; 0.0;0.0;, 1.0;0.0;, 1.0;0.5;, 0.5;1.0;, 0.0;0.5;, 0.25;0.75;; }
 MeshMaterialList {
  2;
  2;
  1,
  0;
  {Red}
  Material Green { 0.0;1.0;0.0;0.5;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
 }
}
)";

}  // namespace

TEST(D3dxMesh, HandWrittenFileKeepsCoordinatesMaterialsAndOrder)
{
    const Mesh_Data m = import_text(kHandWritten);
    EXPECT_EQ(m.fvf, (DWORD)(D3DFVF_XYZ | D3DFVF_TEX1));
    EXPECT_EQ(m.stride, 20u);
    // The pentagon fans into three triangles, the triangle stays one.
    ASSERT_EQ(m.face_count(), 4u);
    ASSERT_EQ(m.subsets.size(), 2u);
    ASSERT_EQ(m.materials.size(), 2u);

    // Subset 0 is the file's material 0 (Red, the triangle), subset 1 the pentagon.
    EXPECT_EQ(m.subsets[0].FaceCount, 1u);
    EXPECT_EQ(m.subsets[1].FaceCount, 3u);
    EXPECT_EQ(m.materials[0].material.Diffuse.r, 1.0f);
    EXPECT_EQ(m.materials[0].material.Power, 5.0f);
    EXPECT_EQ(m.materials[0].material.Specular.g, 0.5f);
    EXPECT_EQ(m.materials[0].material.Emissive.b, 0.25f);
    EXPECT_EQ(m.materials[0].material.Ambient.r, 0.0f);
    ASSERT_TRUE(m.materials[0].has_texture);
    EXPECT_EQ(m.materials[0].texture, "red.bmp");
    EXPECT_EQ(m.materials[1].material.Diffuse.g, 1.0f);
    EXPECT_EQ(m.materials[1].material.Diffuse.a, 0.5f);
    EXPECT_FALSE(m.materials[1].has_texture);

    // Faces are grouped by subset and carry its id.
    for (const D3DXATTRIBUTERANGE& r : m.subsets)
        for (DWORD f = r.FaceStart; f < r.FaceStart + r.FaceCount; ++f) EXPECT_EQ(m.attributes[f], r.AttribId);

    // The triangle, in the file's own left-handed coordinates and winding: z stays -5.
    const size_t tri = m.subsets[0].FaceStart;
    EXPECT_EQ(corner(m, tri, 0), D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(corner(m, tri, 1), D3DXVECTOR3(2, 0, 0));
    EXPECT_EQ(corner(m, tri, 2), D3DXVECTOR3(0, 0, -5));

    // The pentagon 0,4,3,2,1 fans from its first corner: (0,4,3) (0,3,2) (0,2,1).
    const D3DXVECTOR3 fan[3][3] = {{{0, 0, 0}, {-1, 1, 0}, {1, 2, 0}},
                                   {{0, 0, 0}, {1, 2, 0}, {3, 1, 0}},
                                   {{0, 0, 0}, {3, 1, 0}, {2, 0, 0}}};
    for (int f = 0; f < 3; ++f)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(corner(m, m.subsets[1].FaceStart + f, k), fan[f][k]) << f << "," << k;

    // Texture coordinates as stored (v not flipped): the vertex at (0,0,-5) has (0.25, 0.75).
    float uv[2];
    memcpy(uv, &m.vertices[(size_t)m.indices[tri * 3 + 2] * m.stride + 12], 8);
    EXPECT_EQ(uv[0], 0.25f);
    EXPECT_EQ(uv[1], 0.75f);
}

TEST(D3dxMesh, BinaryAndCompressedFilesGiveTheSameMeshAsTheirTextTwin)
{
    const std::pair<std::string, std::string> twins[] = {{"column_text.x", "column_binary.x"},
                                                         {"column_text.x", "column_compressed.x"},
                                                         {"frames.x", "frames_binary.x"},
                                                         {"frames.x", "frames_compressed.x"}};
    for (const auto& twin : twins) {
        SCOPED_TRACE(twin.second);
        const Mesh_Data a = import_ok(kData + twin.first), b = import_ok(kData + twin.second);
        EXPECT_EQ(a.fvf, b.fvf);
        EXPECT_EQ(a.vertices, b.vertices);
        EXPECT_EQ(a.indices, b.indices);
        EXPECT_EQ(a.attributes, b.attributes);
        ASSERT_EQ(a.materials.size(), b.materials.size());
        for (size_t i = 0; i < a.materials.size(); ++i) {
            EXPECT_EQ(memcmp(&a.materials[i].material, &b.materials[i].material, sizeof(D3DMATERIAL9)), 0);
            EXPECT_EQ(a.materials[i].texture, b.materials[i].texture);
        }
    }
}

TEST(D3dxMesh, BadFilesFailCleanly)
{
    const std::string header = "xof 0303txt 0032\n";
    const std::string triangle_mesh = "Mesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; ";
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"zero bytes", ""},
        {"header only", header},
        {"not an x file", "hello"},
        {"truncated mesh", header + triangle_mesh},
        {"face index past the vertices", header + triangle_mesh + "3;0,1,40;; }\n"},
        {"every index past the vertices", header + triangle_mesh + "3;7,8,9;; }\n"},
        {"no faces", header + "Mesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 0; ; }\n"},
        {"negative count", header + "Mesh { -3; 0.0;0.0;0.0;; 1; 3;0,1,2;; }\n"},
        {"huge vertex count", header + "Mesh { 4000000000; 0.0;0.0;0.0;; 1; 3;0,1,2;; }\n"},
        {"binary header, no tokens", "xof 0303bin 0032"},
        {"materials declared but not given", header + triangle_mesh + "3;0,1,2;; MeshMaterialList { 1; 1; 0;; } }\n"},
        {"face naming no material", header + triangle_mesh +
                                         "3;0,1,2;; MeshMaterialList { 1; 1; 3;; Material { 1.0;1.0;1.0;1.0;; 0.0; "
                                         "0.0;0.0;0.0;; 0.0;0.0;0.0;; } } }\n"},
        {"compressed, block cut short", std::string("xof 0303tzip0032") + std::string("\x40\0\0\0\x30\0\x10\0CK", 10)},
        {"compressed, block claiming 32 KiB from 3 bytes",
         std::string("xof 0303tzip0032") + std::string("\0\x80\0\0\0\x80\x05\0CK\x03\0\0", 13)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mesh_Data m;
        EXPECT_EQ(import_mesh_memory(c.text.data(), c.text.size(), "x", &m), D3DXERR_INVALIDDATA);
        EXPECT_EQ(m.face_count(), 0u);
    }
    // The generator's binary file with its first vertex count raised to 2^30, and with the
    // integer-list token before the face list damaged.
    FILE* f = fopen((kData + "frames_binary.x").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string binary(4096, '\0');
    binary.resize(fread(&binary[0], 1, binary.size(), f));
    fclose(f);
    const size_t mesh = binary.find("cube") + 4 + 2;  // past the name and the opening brace
    ASSERT_EQ(binary.substr(mesh, 6), std::string("\x06\0\x01\0\0\0", 6));  // a list of one integer: 24
    std::string lying = binary;
    lying[mesh + 9] = 0x40;
    std::string damaged = binary;
    damaged[mesh + 10 + 6 + 72 * 4] = 0x04;
    for (const std::string* bad : {&lying, &damaged}) {
        Mesh_Data m;
        EXPECT_EQ(import_mesh_memory(bad->data(), bad->size(), "x", &m), D3DXERR_INVALIDDATA);
    }
    // A normal face naming a normal past the normals.
    const std::string normals = header + triangle_mesh +
                                "3;0,1,2;; MeshNormals { 1; 0.0;1.0;0.0;; 1; 3;0,0,5;; } }\n";
    Mesh_Data m;
    EXPECT_EQ(import_mesh_memory(normals.data(), normals.size(), "x", &m), D3DXERR_INVALIDDATA);

    EXPECT_EQ(import_mesh_file((kData + "no_such_file.x").c_str(), &m), D3DXERR_INVALIDDATA);
    EXPECT_EQ(import_mesh_file(kData.c_str(), &m), D3DXERR_INVALIDDATA);  // a folder
    EXPECT_EQ(import_mesh_file("/dev/zero", &m), D3DXERR_INVALIDDATA);
}
