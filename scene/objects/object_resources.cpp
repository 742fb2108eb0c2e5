#include "scene/objects/object_resources.h"

Object_Resources::Object_Resources() {}

Object_Resources::~Object_Resources()
{
    for (auto& kept : meshes) {
        kept.second.mesh->Release();
        if (kept.second.materials) kept.second.materials->Release();
    }
    for (auto& kept : textures) kept.second->Release();
}

HRESULT Object_Resources::LoadMesh(const char* path, DWORD options, IDirect3DDevice9* device,
                                   ID3DXBuffer** materials, DWORD* materialCount, ID3DXMesh** mesh)
{
    auto found = meshes.find(path);
    if (found == meshes.end()) {
        Mesh loaded = {NULL, NULL, 0};
        HRESULT hr = D3DXLoadMeshFromXA(path, options, device, NULL, &loaded.materials, NULL,
                                        &loaded.materialCount, &loaded.mesh);
        if (FAILED(hr) || !loaded.mesh) {
            if (loaded.mesh) loaded.mesh->Release();
            if (loaded.materials) loaded.materials->Release();
            return FAILED(hr) ? hr : E_FAIL;
        }
        found = meshes.emplace(path, loaded).first;
    }
    const Mesh& kept = found->second;
    kept.mesh->AddRef();
    *mesh = kept.mesh;
    if (kept.materials) kept.materials->AddRef();
    *materials = kept.materials;
    *materialCount = kept.materialCount;
    return D3D_OK;
}

HRESULT Object_Resources::LoadTexture(IDirect3DDevice9* device, const char* path,
                                      IDirect3DTexture9** texture)
{
    auto found = textures.find(path);
    if (found == textures.end()) {
        IDirect3DTexture9* loaded = NULL;
        HRESULT hr = D3DXCreateTextureFromFileA(device, path, &loaded);
        if (FAILED(hr) || !loaded) return FAILED(hr) ? hr : E_FAIL;
        found = textures.emplace(path, loaded).first;
    }
    found->second->AddRef();
    *texture = found->second;
    return D3D_OK;
}
