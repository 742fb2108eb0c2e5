// Mesh files: what the importer makes of the generator's .x files and of files written here,
// and the bad files it must refuse.
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

TEST(D3dxMesh, GeneratedColumnHasTwoSubsetsAndFannedCaps)
{
    const Mesh_Data m = import_ok(kData + "column_text.x");
    EXPECT_EQ(m.fvf, (DWORD)(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    // 16 shaft quads -> 32 triangles; two 16-gon caps -> 14 triangles each.
    EXPECT_EQ(m.face_count(), 60u);
    ASSERT_EQ(m.subsets.size(), 2u);
    EXPECT_EQ(m.subsets[0].FaceCount, 32u);
    EXPECT_EQ(m.subsets[1].FaceCount, 28u);
    EXPECT_EQ(m.materials[0].texture, "brick.bmp");
    EXPECT_FALSE(m.materials[1].has_texture);
    EXPECT_FLOAT_EQ(m.materials[1].material.Diffuse.g, 0.78f);

    // Every cap triangle shares the cap's first corner and lies in y = 80 or y = 0.
    const DWORD caps = m.subsets[1].FaceStart;
    for (DWORD f = caps; f < caps + 14; ++f) {
        EXPECT_EQ(corner(m, f, 0), corner(m, caps, 0));
        for (int k = 0; k < 3; ++k) EXPECT_EQ(corner(m, f, k).y, 80.0f);
    }
    for (DWORD f = caps + 14; f < caps + 28; ++f)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(corner(m, f, k).y, 0.0f);

    // Faces are clockwise seen from outside: the top cap's normal, cross(b - a, c - a), is up.
    D3DXVECTOR3 e1 = corner(m, caps, 1) - corner(m, caps, 0), e2 = corner(m, caps, 2) - corner(m, caps, 0), n;
    D3DXVec3Cross(&n, &e1, &e2);
    EXPECT_GT(n.y, 0.0f);
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

TEST(D3dxMesh, NestedFrameTransformsAreApplied)
{
    const Mesh_Data m = import_ok(kData + "frames.x");
    ASSERT_EQ(m.subsets.size(), 2u);
    // The cube (edge 20) sits in frame Base, moved 100 along z.
    float min_z = 1e9f, max_z = -1e9f;
    for (DWORD v = m.subsets[0].VertexStart; v < m.subsets[0].VertexStart + m.subsets[0].VertexCount; ++v) {
        min_z = std::min(min_z, position(m, v).z);
        max_z = std::max(max_z, position(m, v).z);
    }
    EXPECT_EQ(min_z, 90.0f);
    EXPECT_EQ(max_z, 110.0f);
    EXPECT_EQ(m.materials[0].texture, "brick.bmp");
    // The marker (0,0,0) (0,0,1) (1,0,0) sits in Top inside Base: scaled by 2, moved 50 up and 100 along z.
    const size_t marker = m.subsets[1].FaceStart;
    EXPECT_EQ(corner(m, marker, 0), D3DXVECTOR3(0, 50, 100));
    EXPECT_EQ(corner(m, marker, 1), D3DXVECTOR3(0, 50, 102));
    EXPECT_EQ(corner(m, marker, 2), D3DXVECTOR3(2, 50, 100));
    EXPECT_EQ(m.materials[1].material.Diffuse.b, 0.0f);
    EXPECT_EQ(m.materials[1].material.Diffuse.g, 1.0f);
}

TEST(D3dxMesh, MeshOutsideTheOnlyFrameKeepsItsOwnPlace)
{
    // A frame moved 10 along x holding one mesh, and a mesh outside every frame.
    const std::string text = R"(xof 0303txt 0032
Frame Root {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,10.0,0.0,0.0,1.0;; }
 Mesh Inside { 3; 0.0;0.0;0.0;, 0.0;0.0;1.0;, 1.0;0.0;0.0;; 1; 3;0,1,2;; }
}
Mesh Outside { 3; 0.0;0.0;0.0;, 0.0;0.0;1.0;, 1.0;0.0;0.0;; 1; 3;0,1,2;; }
)";
    const Mesh_Data m = import_text(text);
    ASSERT_EQ(m.face_count(), 2u);
    std::vector<float> first_x = {corner(m, 0, 0).x, corner(m, 1, 0).x};
    std::sort(first_x.begin(), first_x.end());
    EXPECT_EQ(first_x[0], 0.0f);
    EXPECT_EQ(first_x[1], 10.0f);
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

TEST(D3dxMesh, MaterialListLongerThanTheFacesFailsCleanlyOrIsIgnored)
{
    // The importer refuses some such lists and ignores the surplus of others; either way
    // nothing is read past the faces and the faces keep their material.
    for (const char* faces : {"1; 3;0,1,2;;", "2; 3;0,1,2;, 3;2,1,0;;"}) {
        SCOPED_TRACE(faces);
        const std::string text = std::string("xof 0303txt 0032\nMesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; ") +
                                 faces +
                                 " MeshMaterialList { 1; 5; 0,0,0,0,0; Material { 0.0;0.0;1.0;1.0;; 0.0; "
                                 "0.0;0.0;0.0;; 0.0;0.0;0.0;; } } }\n";
        Mesh_Data m;
        const HRESULT hr = import_mesh_memory(text.data(), text.size(), "x", &m);
        if (hr == D3D_OK) {
            EXPECT_EQ(m.face_count(), faces[0] == '1' ? 1u : 2u);
            ASSERT_EQ(m.materials.size(), 1u);
            EXPECT_EQ(m.materials[0].material.Diffuse.b, 1.0f);
        } else {
            EXPECT_EQ(hr, D3DXERR_INVALIDDATA);
            EXPECT_EQ(m.face_count(), 0u);
        }
    }
}

TEST(D3dxMesh, OtherFormatsLoadTheSameWay)
{
    // An OBJ quad: fanned into two triangles, one default material.
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    Mesh_Data m;
    ASSERT_EQ(import_mesh_memory(obj.data(), obj.size(), "obj", &m), D3D_OK);
    EXPECT_EQ(m.face_count(), 2u);
    EXPECT_EQ(m.materials.size(), 1u);
}

TEST(D3dxMesh, AdjacencyLinksFacesThatShareAnEdge)
{
    // Two triangles sharing the edge (1,0,0)-(0,1,0), with separate vertices there (different uv).
    const std::string text = R"(xof 0303txt 0032
Mesh { 6; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;;
 2; 3;0,2,1;, 3;3,5,4;;
 MeshTextureCoords { 6; 0.0;0.0;, 0.1;0.0;, 0.2;0.0;, 0.3;0.0;, 0.4;0.0;, 0.5;0.0;; } }
)";
    const Mesh_Data m = import_text(text);
    const std::vector<DWORD> adjacency = mesh_adjacency(m);
    ASSERT_EQ(adjacency.size(), 6u);
    int links = 0, open = 0;
    for (size_t i = 0; i < 6; ++i) {
        if (adjacency[i] == 0xFFFFFFFF) {
            ++open;
        } else {
            EXPECT_EQ(adjacency[i], (DWORD)(1 - i / 3));
            ++links;
        }
    }
    EXPECT_EQ(links, 2);
    EXPECT_EQ(open, 4);
}

// ---- On the headless device ----

#include "d3dx_headless_device.h"
#include "common/d3dx_loaders.h"

namespace {

ID3DXMesh* const kNoMesh = reinterpret_cast<ID3DXMesh*>(0x1);
ID3DXBuffer* const kNoBuffer = reinterpret_cast<ID3DXBuffer*>(0x1);

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

HRESULT draw_for_real(D3dx_Mesh& mesh, DWORD attrib) { return mesh.draw_through_device(attrib); }

}  // namespace

TEST_F(D3dxOnDevice, LoadedMeshHandsBackMaterialsBuffersAndItsData)
{
    const std::string path = kData + "column_text.x";
    ID3DXBuffer *adjacency = nullptr, *materials = nullptr, *instances = nullptr;
    DWORD count = 0;
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, device, &adjacency, &materials, &instances,
                                 &count, &mesh),
              D3D_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(mesh->GetNumFaces(), 60u);
    EXPECT_EQ(mesh->GetFVF(), (DWORD)(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 32u);
    EXPECT_EQ(mesh->GetOptions(), (DWORD)D3DXMESH_SYSTEMMEM);
    EXPECT_EQ(logged("CreateVertexBuffer(" + std::to_string(mesh->GetNumVertices() * 32)), 1);

    const D3DXMATERIAL* m = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    ASSERT_NE(m[0].pTextureFilename, nullptr);
    EXPECT_STREQ(m[0].pTextureFilename, "brick.bmp");
    EXPECT_EQ(m[1].pTextureFilename, nullptr);
    EXPECT_FLOAT_EQ(m[1].MatD3D.Diffuse.r, 0.8f);
    EXPECT_EQ(m[0].MatD3D.Ambient.r, 0.0f);
    EXPECT_EQ(adjacency->GetBufferSize(), 60u * 3 * 4);
    EXPECT_EQ(instances->GetBufferSize(), 2u * sizeof(D3DXEFFECTINSTANCE));

    // The buffers hold what the file holds.
    Mesh_Data data;
    ASSERT_EQ(import_mesh_file(path.c_str(), &data), D3D_OK);
    void* bytes = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &bytes), D3D_OK);
    EXPECT_EQ(memcmp(bytes, data.vertices.data(), data.vertices.size()), 0);
    mesh->UnlockVertexBuffer();
    ASSERT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &bytes), D3D_OK);
    for (size_t i = 0; i < data.indices.size(); ++i) ASSERT_EQ(static_cast<uint16_t*>(bytes)[i], data.indices[i]);
    mesh->UnlockIndexBuffer();
    DWORD* attributes = nullptr;
    ASSERT_EQ(mesh->LockAttributeBuffer(0, &attributes), D3D_OK);
    EXPECT_EQ(attributes[0], 0u);
    EXPECT_EQ(attributes[59], 1u);
    mesh->UnlockAttributeBuffer();
    DWORD entries = 0;
    ASSERT_EQ(mesh->GetAttributeTable(nullptr, &entries), D3D_OK);
    ASSERT_EQ(entries, 2u);
    D3DXATTRIBUTERANGE table[2];
    mesh->GetAttributeTable(table, &entries);
    EXPECT_EQ(table[1].FaceStart, 32u);
    EXPECT_EQ(table[1].FaceCount, 28u);

    // Headless drawing is recorded under the path as given and leaves the device alone.
    orvex_headless::clear_call_log();
    EXPECT_EQ(mesh->DrawSubset(1), D3D_OK);
    ASSERT_EQ(orvex_headless::call_log().size(), 1u);
    EXPECT_EQ(orvex_headless::call_log()[0], "mesh " + path + " DrawSubset(1)");

    adjacency->Release();
    materials->Release();
    instances->Release();
    EXPECT_EQ(mesh->Release(), 0u);
}

TEST_F(D3dxOnDevice, DrawingThroughTheDeviceIssuesOneIndexedDrawPerSubset)
{
    Mesh_Data data;
    ASSERT_EQ(import_mesh_file((kData + "column_text.x").c_str(), &data), D3D_OK);
    D3dx_Mesh* mesh = nullptr;
    ASSERT_EQ(D3dx_Mesh::create(device, D3DXMESH_MANAGED, data, "column", draw_for_real, &mesh), D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    orvex_headless::clear_call_log();
    EXPECT_EQ(mesh->DrawSubset(1), D3D_OK);
    EXPECT_EQ(mesh->DrawSubset(7), D3D_OK);  // no such subset: nothing drawn
    const std::vector<std::string> expected = {
        "SetFVF(XYZ|NORMAL|TEX1)", "SetStreamSource(0, vb#1, 0, 32)", "SetIndices(ib#1)",
        "DrawIndexedPrimitive(TRIANGLELIST, 0, " + std::to_string(data.subsets[1].VertexStart) + ", " +
            std::to_string(data.subsets[1].VertexCount) + ", 96, 28)"};
    EXPECT_EQ(orvex_headless::call_log(), expected);
    ASSERT_EQ(orvex_headless::recorded_draws().size(), 1u);
    EXPECT_EQ(orvex_headless::recorded_draws()[0].primitives, 28u);
    device->EndScene();
    mesh->Release();
}

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

TEST_F(D3dxOnDevice, MeshThatCannotBeLoadedLeavesTheOutputsAlone)
{
    const std::string empty = write_temp("d3dx_empty.x", "");
    const std::string bad_index =
        write_temp("d3dx_bad_index.x", "xof 0303txt 0032\nMesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; "
                                       "3;0,1,40;; }\n");
    for (const std::string& path : {empty, bad_index, kData + "missing.x"}) {
        SCOPED_TRACE(path);
        ID3DXBuffer* materials = kNoBuffer;
        DWORD count = 77;
        ID3DXMesh* mesh = kNoMesh;
        EXPECT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, device, nullptr, &materials, nullptr, &count,
                                     &mesh),
                  D3DXERR_INVALIDDATA);
        EXPECT_EQ(mesh, kNoMesh);
        EXPECT_EQ(materials, kNoBuffer);
        EXPECT_EQ(count, 77u);
    }
    EXPECT_EQ(logged("Create"), 0);

    // A device that cannot make the vertex buffer: its error, and nothing handed out.
    orvex_headless::d3d9_failures().create_vertex_buffer = D3DERR_OUTOFVIDEOMEMORY;
    ID3DXMesh* mesh = kNoMesh;
    EXPECT_EQ(D3DXLoadMeshFromXA((kData + "frames.x").c_str(), 0, device, nullptr, nullptr, nullptr, nullptr, &mesh),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(mesh, kNoMesh);
    EXPECT_EQ(D3DXLoadMeshFromXA(nullptr, 0, device, nullptr, nullptr, nullptr, nullptr, &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXLoadMeshFromXA((kData + "frames.x").c_str(), 0, device, nullptr, nullptr, nullptr, nullptr, nullptr),
              D3DERR_INVALIDCALL);
}
