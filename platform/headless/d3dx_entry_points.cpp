// The D3DX loaders as the headless platform has them (see common/d3dx/d3dx_loaders.h).
#include <d3dx9.h>

#include "call_log.h"
#include "common/d3dx/d3dx_loaders.h"
#include "headless_d3d9.h"

namespace {

HRESULT record_draw_subset(D3dx_Mesh& mesh, DWORD attrib)
{
    orvex_headless::record_call("mesh " + mesh.name() + " DrawSubset(" + std::to_string(attrib) + ")");
    return D3D_OK;
}

}  // namespace

HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile, IDirect3DTexture9** ppTexture)
{
    const HRESULT hr = d3dx_create_texture_from_file(pDevice, pSrcFile, ppTexture);
    if (SUCCEEDED(hr)) orvex_headless::set_resource_label(*ppTexture, pSrcFile);
    return hr;
}

HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  ID3DXBuffer** ppAdjacency, ID3DXBuffer** ppMaterials,
                                  ID3DXBuffer** ppEffectInstances, DWORD* pNumMaterials, ID3DXMesh** ppMesh)
{
    return d3dx_load_mesh_from_file(pFilename, Options, pD3DDevice, record_draw_subset, ppAdjacency, ppMaterials,
                                    ppEffectInstances, pNumMaterials, ppMesh);
}

HRESULT WINAPI D3DXLoadMeshFromXInMemory(LPCVOID Memory, DWORD SizeOfMemory, DWORD Options,
                                         IDirect3DDevice9* pD3DDevice, ID3DXBuffer** ppAdjacency,
                                         ID3DXBuffer** ppMaterials, ID3DXBuffer** ppEffectInstances,
                                         DWORD* pNumMaterials, ID3DXMesh** ppMesh)
{
    return d3dx_load_mesh_from_memory(Memory, SizeOfMemory, Options, pD3DDevice, record_draw_subset, ppAdjacency,
                                      ppMaterials, ppEffectInstances, pNumMaterials, ppMesh);
}
