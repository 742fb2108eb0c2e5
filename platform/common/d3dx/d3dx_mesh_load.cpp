// D3DXLoadMeshFromXA / FromXInMemory: import, make the mesh on the device, and hand back the
// materials, adjacency and effect instances in buffers.
#include <d3dx9.h>

#include "common/d3dx/d3dx_loaders.h"
#include "common/mesh/d3dx_mesh.h"
#include "common/mesh/mesh_import.h"

#include <string.h>

namespace {

HRESULT materials_buffer(const Mesh_Data& data, ID3DXBuffer** out)
{
    const size_t count = data.materials.size();
    size_t bytes = count * sizeof(D3DXMATERIAL);
    for (const Mesh_Material& m : data.materials)
        if (m.has_texture) bytes += m.texture.size() + 1;
    HRESULT hr = D3DXCreateBuffer((DWORD)bytes, out);
    if (FAILED(hr)) return hr;
    D3DXMATERIAL* table = static_cast<D3DXMATERIAL*>((*out)->GetBufferPointer());
    char* text = reinterpret_cast<char*>(table + count);
    for (size_t i = 0; i < count; ++i) {
        table[i].MatD3D = data.materials[i].material;
        table[i].pTextureFilename = nullptr;
        if (data.materials[i].has_texture) {
            const std::string& name = data.materials[i].texture;
            memcpy(text, name.c_str(), name.size() + 1);
            table[i].pTextureFilename = text;
            text += name.size() + 1;
        }
    }
    return D3D_OK;
}

HRESULT effect_instances_buffer(const Mesh_Data& data, ID3DXBuffer** out)
{
    HRESULT hr = D3DXCreateBuffer((DWORD)(data.materials.size() * sizeof(D3DXEFFECTINSTANCE)), out);
    if (FAILED(hr)) return hr;
    D3DXEFFECTINSTANCE* instances = static_cast<D3DXEFFECTINSTANCE*>((*out)->GetBufferPointer());
    for (size_t i = 0; i < data.materials.size(); ++i) instances[i] = D3DXEFFECTINSTANCE{nullptr, 0, nullptr};
    return D3D_OK;
}

HRESULT adjacency_buffer(const Mesh_Data& data, ID3DXBuffer** out)
{
    const std::vector<DWORD> adjacency = mesh_adjacency(data);
    HRESULT hr = D3DXCreateBuffer((DWORD)(adjacency.size() * sizeof(DWORD)), out);
    if (FAILED(hr)) return hr;
    memcpy((*out)->GetBufferPointer(), adjacency.data(), adjacency.size() * sizeof(DWORD));
    return D3D_OK;
}

void release(ID3DXBuffer* b)
{
    if (b) b->Release();
}

// Makes every output before handing any out, so a failure leaves the caller's pointers as they were.
HRESULT deliver(const Mesh_Data& data, const std::string& name, DWORD options, IDirect3DDevice9* device,
                D3dx_Draw_Subset draw, ID3DXBuffer** ppAdjacency, ID3DXBuffer** ppMaterials,
                ID3DXBuffer** ppEffectInstances, DWORD* pNumMaterials, ID3DXMesh** ppMesh)
{
    D3dx_Mesh* mesh = nullptr;
    ID3DXBuffer *adjacency = nullptr, *materials = nullptr, *instances = nullptr;
    HRESULT hr = D3dx_Mesh::create(device, options, data, name, draw, &mesh);
    if (SUCCEEDED(hr) && ppAdjacency) hr = adjacency_buffer(data, &adjacency);
    if (SUCCEEDED(hr) && ppMaterials) hr = materials_buffer(data, &materials);
    if (SUCCEEDED(hr) && ppEffectInstances) hr = effect_instances_buffer(data, &instances);
    if (FAILED(hr)) {
        release(adjacency);
        release(materials);
        release(instances);
        if (mesh) mesh->Release();
        return hr;
    }
    if (ppAdjacency) *ppAdjacency = adjacency;
    if (ppMaterials) *ppMaterials = materials;
    if (ppEffectInstances) *ppEffectInstances = instances;
    if (pNumMaterials) *pNumMaterials = (DWORD)data.materials.size();
    *ppMesh = mesh;
    return D3D_OK;
}

}  // namespace

HRESULT d3dx_load_mesh_from_file(LPCSTR path, DWORD options, IDirect3DDevice9* device, D3dx_Draw_Subset draw,
                                 ID3DXBuffer** adjacency, ID3DXBuffer** materials, ID3DXBuffer** effect_instances,
                                 DWORD* material_count, ID3DXMesh** mesh)
{
    if (!path || !device || !mesh) return D3DERR_INVALIDCALL;
    Mesh_Data data;
    const HRESULT hr = import_mesh_file(path, &data);
    if (FAILED(hr)) return hr;
    return deliver(data, path, options, device, draw, adjacency, materials, effect_instances, material_count, mesh);
}

HRESULT d3dx_load_mesh_from_memory(LPCVOID bytes, DWORD size, DWORD options, IDirect3DDevice9* device,
                                   D3dx_Draw_Subset draw, ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                                   ID3DXBuffer** effect_instances, DWORD* material_count, ID3DXMesh** mesh)
{
    if (!bytes || !device || !mesh) return D3DERR_INVALIDCALL;
    Mesh_Data data;
    const HRESULT hr = import_mesh_memory(bytes, size, "x", &data);
    if (FAILED(hr)) return hr;
    return deliver(data, "(memory)", options, device, draw, adjacency, materials, effect_instances, material_count,
                   mesh);
}
