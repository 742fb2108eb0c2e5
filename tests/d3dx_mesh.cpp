// Mesh files: what the importer makes of a hand-written .x file, binary and compressed twins of
// text files, and the bad files it must refuse.
#include "common/mesh/mesh_import.h"

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

TEST(D3dxMesh, FilesWrittenByOtherToolsLoadWithTheImportersFaceCounts)
{
    // Binary files that declare their templates, and compressed ones of one and of four blocks.
    const struct {
        const char* file;
        DWORD faces;
        size_t subsets;
    } files[] = {{"test_cube_binary.x", 12, 1}, {"test_cube_compressed.x", 12, 1}, {"teapot.x", 2256, 1},
                 {"cube_on_plane.x", 1073, 2}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        const Mesh_Data m = import_ok(std::string(ORVEX_SOURCE_DIR) + "/tests/data/corpus/x/" + f.file);
        EXPECT_EQ(m.face_count(), f.faces);
        EXPECT_EQ(m.subsets.size(), f.subsets);
        EXPECT_EQ(m.materials.size(), f.subsets);
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
        // The importer takes a list's child whose first token is not "Material" for an unknown
        // object, and then reads past the materials it has.
        {"material behind a stray token", header + triangle_mesh +
                                              "3;0,1,2;; MeshMaterialList { 1; 1; 0;; 0 Material { 1.0;1.0;1.0;1.0;; "
                                              "0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } } }\n"},
        {"material list with a stray token for a name",
         header + triangle_mesh + "3;0,1,2;; MeshMaterialList ~ { 1; 1; 0;; } }\n"},
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
    // The generator's binary file with its first vertex count raised to 2^30, with the
    // integer-list token before the face list damaged, and with a stray integer before the
    // material its first material list names (the importer takes it for an unknown object that
    // swallows the material).
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
    std::string stray = binary;
    const size_t reference = stray.find("MeshMaterialList") + 16 + 2 + 2 + 4 + 8 * 4;
    ASSERT_EQ(stray.substr(reference, 8), std::string("\x0a\0\x01\0\x05\0\0\0", 8));  // { Stone }
    stray.insert(reference, std::string("\x03\0\x07\0\0\0", 6));
    for (const std::string* bad : {&lying, &damaged, &stray}) {
        Mesh_Data m;
        EXPECT_EQ(import_mesh_memory(bad->data(), bad->size(), "x", &m), D3DXERR_INVALIDDATA);
    }
    // A normal face naming a normal past the normals, after a blank of each kind the importer knows.
    Mesh_Data m;
    for (const char* blank : {" ", "\f", "\v"}) {
        const std::string normals = header + triangle_mesh + "3;0,1,2;; MeshNormals" + blank +
                                    "{ 1; 0.0;1.0;0.0;; 1; 3;0,0,5;; } }\n";
        EXPECT_EQ(import_mesh_memory(normals.data(), normals.size(), "x", &m), D3DXERR_INVALIDDATA) << (int)*blank;
    }

    EXPECT_EQ(import_mesh_file((kData + "no_such_file.x").c_str(), &m), D3DXERR_INVALIDDATA);
    EXPECT_EQ(import_mesh_file(kData.c_str(), &m), D3DXERR_INVALIDDATA);  // a folder
    EXPECT_EQ(import_mesh_file("/dev/zero", &m), D3DXERR_INVALIDDATA);
}

// ---- On the headless device ----

#include "d3dx_headless_device.h"

namespace {

std::string write_temp(const std::string& name, const std::string& bytes)
{
    const std::string path = std::string(ORVEX_BINARY_DIR) + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

}  // namespace

TEST_F(D3dxOnDevice, BinaryGltfLoadsFromAFileAndFromMemory)
{
    // One triangle: a JSON chunk (padded with blanks) and a binary chunk of 3 positions, 3 indices.
    std::string json = R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
                             R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":1}]}],)"
                             R"("buffers":[{"byteLength":44}],"bufferViews":[{"buffer":0,"byteLength":36},)"
                             R"({"buffer":0,"byteOffset":36,"byteLength":6}],"accessors":[{"bufferView":0,)"
                             R"("componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]},)"
                             R"({"bufferView":1,"componentType":5123,"count":3,"type":"SCALAR"}]})";
    json.resize((json.size() + 3) / 4 * 4, ' ');
    const float positions[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const uint16_t indices[4] = {0, 1, 2, 0};
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    const std::string glb = "glTF" + u32(2) + u32((uint32_t)(12 + 8 + json.size() + 8 + 44)) +
                            u32((uint32_t)json.size()) + "JSON" + json + u32(44) + std::string("BIN\0", 4) +
                            std::string(reinterpret_cast<const char*>(positions), 36) +
                            std::string(reinterpret_cast<const char*>(indices), 8);
    const std::string path = write_temp("d3dx_triangle.glb", glb);
    ID3DXMesh* from_file = nullptr;
    ID3DXMesh* from_memory = nullptr;
    ASSERT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, device, nullptr, nullptr, nullptr, nullptr,
                                 &from_file),
              D3D_OK);
    ASSERT_EQ(D3DXLoadMeshFromXInMemory(glb.data(), (DWORD)glb.size(), D3DXMESH_SYSTEMMEM, device, nullptr, nullptr,
                                        nullptr, nullptr, &from_memory),
              D3D_OK);
    EXPECT_EQ(from_file->GetNumFaces(), 1u);
    EXPECT_EQ(from_memory->GetNumFaces(), 1u);
    from_file->Release();
    from_memory->Release();
}
