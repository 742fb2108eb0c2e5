// Assimp does the reading: aiProcess_ConvertToLeftHanded gives back the .x file's own
// coordinates, winding and texture coordinates, JoinIdenticalVertices folds the per-corner
// vertices the importer makes. The rest is done here as D3DX does it: every mesh of the scene in
// one, node transforms applied, polygons fanned from their first vertex, one subset per
// imported mesh (Assimp makes one per material used, in the order of the file's material list).
#include "common/mesh/mesh_import.h"

#include <d3dx9.h>

#include "foundation/file_io.h"
#include "foundation/file_path.h"
#include "common/mesh/mesh_x_check.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <string.h>
#include <sys/stat.h>
#include <unordered_map>

namespace {

// The importer makes one vertex per face corner; join_identical() folds them again, faster than
// the importer's own JoinIdenticalVertices step.
const unsigned Import_Flags = aiProcess_ConvertToLeftHanded;
// No mesh file we read may be bigger than this.
const size_t Mesh_File_Limit = (size_t)1 << 30;

struct Mesh_Part {
    const aiMesh* mesh;
    aiMatrix4x4 transform;
};

void collect_parts(const aiScene* scene, const aiNode* node, const aiMatrix4x4& parent,
                   std::vector<Mesh_Part>* parts, std::vector<bool>* seen)
{
    const aiMatrix4x4 global = parent * node->mTransformation;
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        const unsigned index = node->mMeshes[i];
        if (index >= scene->mNumMeshes) continue;
        parts->push_back({scene->mMeshes[index], global});
        (*seen)[index] = true;
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i) collect_parts(scene, node->mChildren[i], global, parts, seen);
}

// Every mesh of the scene with the transform of the node above it, in node order. Assimp's .x
// importer hangs meshes that sit outside any frame on the root node; when the file's only
// top-level frame is that root, the frame's own meshes end up on no node at all. They are
// taken here with the root's transform, and the root's meshes with none.
std::vector<Mesh_Part> scene_parts(const aiScene* scene)
{
    std::vector<Mesh_Part> parts;
    std::vector<bool> seen(scene->mNumMeshes, false);
    if (!scene->mRootNode) return parts;
    collect_parts(scene, scene->mRootNode, aiMatrix4x4(), &parts, &seen);
    std::vector<Mesh_Part> orphans;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i)
        if (!seen[i]) orphans.push_back({scene->mMeshes[i], scene->mRootNode->mTransformation});
    if (orphans.empty()) return parts;
    for (Mesh_Part& p : parts)
        if (p.transform == scene->mRootNode->mTransformation) p.transform = aiMatrix4x4();
    orphans.insert(orphans.end(), parts.begin(), parts.end());
    return orphans;
}

D3DCOLORVALUE colour(const aiMaterial* m, const char* key, unsigned type, unsigned index, float alpha)
{
    aiColor4D c(0, 0, 0, alpha);
    if (m->Get(key, type, index, c) != AI_SUCCESS) c = aiColor4D(0, 0, 0, alpha);
    return D3DCOLORVALUE{c.r, c.g, c.b, c.a};
}

Mesh_Material convert_material(const aiMaterial* m)
{
    Mesh_Material out;
    out.material.Diffuse = colour(m, AI_MATKEY_COLOR_DIFFUSE, 1.0f);
    out.material.Ambient = D3DCOLORVALUE{0, 0, 0, 1};
    out.material.Specular = colour(m, AI_MATKEY_COLOR_SPECULAR, 1.0f);
    out.material.Emissive = colour(m, AI_MATKEY_COLOR_EMISSIVE, 1.0f);
    out.material.Specular.a = out.material.Emissive.a = 1.0f;
    float power = 0;
    out.material.Power = m->Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS ? power : 0.0f;
    // The importer files some names under other texture kinds (normal maps by their name);
    // D3DX knows one texture a material, so the first of any kind is it.
    for (int type = aiTextureType_DIFFUSE; type <= AI_TEXTURE_TYPE_MAX; ++type) {
        aiString path;
        if (m->GetTextureCount((aiTextureType)type) > 0 &&
            m->GetTexture((aiTextureType)type, 0, &path) == AI_SUCCESS) {
            out.has_texture = true;
            out.texture = path.C_Str();
            break;
        }
    }
    if (!out.has_texture) {
        aiString path;
        if (m->GetTexture(aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS) {
            out.has_texture = true;
            out.texture = path.C_Str();
        }
    }
    return out;
}

DWORD pack_colour(const aiColor4D& c)
{
    auto byte = [](float f) -> DWORD { return f <= 0 ? 0 : f >= 1 ? 255 : (DWORD)(f * 255.0f + 0.5f); };
    return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

// Folds identical vertices (byte for byte) of count vertices of stride bytes in place, keeping
// the first of each in order; remap receives each old vertex's new index. Answers the count left.
uint32_t join_identical(uint8_t* vertices, uint32_t count, uint32_t stride, std::vector<uint32_t>* remap)
{
    remap->resize(count);
    size_t capacity = 16;
    while (capacity < (size_t)count * 2) capacity *= 2;
    const size_t mask = capacity - 1;
    std::vector<uint32_t> table(capacity, UINT32_MAX);
    uint32_t unique = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* v = vertices + (size_t)i * stride;
        uint32_t h = 2166136261u;
        for (uint32_t k = 0; k < stride; k += 4) {
            uint32_t word;
            memcpy(&word, v + k, 4);
            h = (h ^ word) * 16777619u;
            h ^= h >> 15;
        }
        size_t slot = h & mask;
        while (table[slot] != UINT32_MAX && memcmp(vertices + (size_t)table[slot] * stride, v, stride) != 0)
            slot = (slot + 1) & mask;
        if (table[slot] == UINT32_MAX) {
            if (unique != i) memcpy(vertices + (size_t)unique * stride, v, stride);
            table[slot] = unique++;
        }
        (*remap)[i] = table[slot];
    }
    return unique;
}

HRESULT convert_scene(const aiScene* scene, bool strict_faces, Mesh_Data* out)
{
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) return D3DXERR_INVALIDDATA;
    const std::vector<Mesh_Part> parts = scene_parts(scene);
    bool normals = false, colours = false, uvs = false;
    size_t vertex_total = 0;
    for (const Mesh_Part& p : parts) {
        normals |= p.mesh->HasNormals();
        colours |= p.mesh->HasVertexColors(0);
        uvs |= p.mesh->HasTextureCoords(0);
        vertex_total += p.mesh->mNumVertices;
    }
    out->fvf = D3DFVF_XYZ | (normals ? D3DFVF_NORMAL : 0) | (colours ? D3DFVF_DIFFUSE : 0) | (uvs ? D3DFVF_TEX1 : 0);
    out->stride = 12 + (normals ? 12 : 0) + (colours ? 4 : 0) + (uvs ? 8 : 0);
    out->vertices.resize(vertex_total * out->stride);
    size_t triangles = 0;
    for (const Mesh_Part& p : parts)
        for (unsigned f = 0; f < p.mesh->mNumFaces; ++f)
            if (p.mesh->mFaces[f].mNumIndices >= 3) triangles += p.mesh->mFaces[f].mNumIndices - 2;
    out->indices.reserve(triangles * 3);
    out->attributes.reserve(triangles);

    uint8_t* v = out->vertices.data();
    DWORD base = 0;
    std::vector<uint32_t> remap;
    for (DWORD subset = 0; subset < parts.size(); ++subset) {
        const aiMesh* mesh = parts[subset].mesh;
        const aiMatrix4x4& m = parts[subset].transform;
        const bool moved = !m.IsIdentity();
        aiMatrix3x3 normal_matrix(m);
        normal_matrix.Inverse().Transpose();
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            const aiVector3D p = moved ? m * mesh->mVertices[i] : mesh->mVertices[i];
            memcpy(v, &p.x, 4), memcpy(v + 4, &p.y, 4), memcpy(v + 8, &p.z, 4);
            v += 12;
            if (normals) {
                aiVector3D n = mesh->HasNormals() ? mesh->mNormals[i] : aiVector3D(0, 0, 0);
                if (moved) n = (normal_matrix * n).NormalizeSafe();
                memcpy(v, &n.x, 4), memcpy(v + 4, &n.y, 4), memcpy(v + 8, &n.z, 4);
                v += 12;
            }
            if (colours) {
                const DWORD c = mesh->HasVertexColors(0) ? pack_colour(mesh->mColors[0][i]) : 0xFFFFFFFF;
                memcpy(v, &c, 4);
                v += 4;
            }
            if (uvs) {
                const aiVector3D t = mesh->HasTextureCoords(0) ? mesh->mTextureCoords[0][i] : aiVector3D(0, 0, 0);
                memcpy(v, &t.x, 4), memcpy(v + 4, &t.y, 4);
                v += 8;
            }
        }
        const uint32_t kept = join_identical(out->vertices.data() + (size_t)base * out->stride, mesh->mNumVertices,
                                             out->stride, &remap);
        v = out->vertices.data() + ((size_t)base + kept) * out->stride;
        const DWORD face_start = out->face_count();
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices < 3) {
                // The .x importer drops corner indices past the vertex list instead of failing.
                if (strict_faces) return D3DXERR_INVALIDDATA;
                continue;
            }
            for (unsigned k = 0; k < face.mNumIndices; ++k)
                if (face.mIndices[k] >= mesh->mNumVertices) return D3DXERR_INVALIDDATA;
            for (unsigned k = 1; k + 1 < face.mNumIndices; ++k) {
                out->indices.push_back(base + remap[face.mIndices[0]]);
                out->indices.push_back(base + remap[face.mIndices[k]]);
                out->indices.push_back(base + remap[face.mIndices[k + 1]]);
                out->attributes.push_back(subset);
            }
        }
        out->subsets.push_back({subset, face_start, out->face_count() - face_start, base, kept});
        const aiMaterial* material =
            mesh->mMaterialIndex < scene->mNumMaterials ? scene->mMaterials[mesh->mMaterialIndex] : nullptr;
        if (material) {
            out->materials.push_back(convert_material(material));
        } else {
            Mesh_Material plain;
            plain.material = D3DMATERIAL9{{1, 1, 1, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0};
            out->materials.push_back(plain);
        }
        base += kept;
    }
    out->vertices.resize((size_t)base * out->stride);
    if (out->attributes.empty()) return D3DXERR_INVALIDDATA;
    return D3D_OK;
}

bool is_x_file(const void* data, size_t size) { return size >= 4 && memcmp(data, "xof ", 4) == 0; }
bool is_binary_gltf(const void* data, size_t size) { return size >= 4 && memcmp(data, "glTF", 4) == 0; }

HRESULT finish(Assimp::Importer& importer, const aiScene* scene, bool x_file, Mesh_Data* out)
{
    *out = Mesh_Data();
    const HRESULT hr = convert_scene(scene, x_file, out);
    if (FAILED(hr)) *out = Mesh_Data();
    importer.FreeScene();
    return hr;
}

// The bytes of an .x file have passed check_x_file.
HRESULT read_checked(const void* data, size_t size, bool x_file, const char* hint, Mesh_Data* out)
{
    Assimp::Importer importer;
    // The importer picks a reader by the hint; the bytes say better what they are.
    const char* format = x_file ? "x" : is_binary_gltf(data, size) ? "glb" : hint ? hint : "";
    const aiScene* scene = importer.ReadFileFromMemory(data, size, Import_Flags, format);
    return finish(importer, scene, x_file, out);
}

}  // namespace

HRESULT import_mesh_memory(const void* data, size_t size, const char* hint, Mesh_Data* out)
{
    *out = Mesh_Data();
    if (!data || size == 0) return D3DXERR_INVALIDDATA;
    const bool x_file = is_x_file(data, size);
    std::string plain;
    if (x_file) {
        if (!check_x_file(static_cast<const uint8_t*>(data), size, &plain)) return D3DXERR_INVALIDDATA;
        if (!plain.empty()) data = plain.data(), size = plain.size();
    }
    return read_checked(data, size, x_file, hint, out);
}

HRESULT import_mesh_file(const char* path, Mesh_Data* out)
{
    *out = Mesh_Data();
    if (!path) return D3DXERR_INVALIDDATA;
    const std::string resolved = resolve_path(path);
    struct stat st;
    if (resolved.empty() || stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0)
        return D3DXERR_INVALIDDATA;
    char magic[4] = {0, 0, 0, 0};
    if (FILE* f = fopen(resolved.c_str(), "rb")) {
        if (fread(magic, 1, 4, f) != 4) magic[0] = 0;
        fclose(f);
    }
    if (is_x_file(magic, 4)) {
        // Checked whole before the importer reads it; a compressed file is handed over inflated.
        std::string bytes, plain;
        if (!read_whole_file(resolved.c_str(), Mesh_File_Limit, bytes)) return D3DXERR_INVALIDDATA;
        if (!check_x_file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &plain))
            return D3DXERR_INVALIDDATA;
        const std::string& checked = plain.empty() ? bytes : plain;
        return read_checked(checked.data(), checked.size(), true, "x", out);
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(resolved, Import_Flags);
    return finish(importer, scene, false, out);
}

std::vector<DWORD> mesh_adjacency(const Mesh_Data& mesh)
{
    // Each vertex stands for the first vertex at its position.
    const DWORD count = mesh.vertex_count();
    std::vector<uint32_t> rep(count);
    std::unordered_map<std::string, uint32_t> first_at;
    first_at.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        const std::string key(reinterpret_cast<const char*>(&mesh.vertices[(size_t)i * mesh.stride]), 12);
        rep[i] = first_at.emplace(key, i).first->second;
    }
    std::vector<DWORD> adjacency(mesh.indices.size(), 0xFFFFFFFF);
    std::unordered_map<uint64_t, size_t> open_edges;  // edge of rep ids -> slot in adjacency
    for (size_t slot = 0; slot < mesh.indices.size(); ++slot) {
        const size_t face = slot / 3;
        const uint32_t a = rep[mesh.indices[slot]];
        const uint32_t b = rep[mesh.indices[face * 3 + (slot + 1) % 3]];
        if (a == b) continue;
        const uint64_t key = (uint64_t)(a < b ? a : b) << 32 | (a < b ? b : a);
        auto found = open_edges.find(key);
        if (found == open_edges.end()) {
            open_edges.emplace(key, slot);
        } else if (found->second / 3 != face) {
            adjacency[slot] = (DWORD)(found->second / 3);
            adjacency[found->second] = (DWORD)face;
            open_edges.erase(found);
        }
    }
    return adjacency;
}
