// The D3DX loaders as the native platform has them (see common/d3dx/d3dx_loaders.h).
#include <d3dx9.h>

#include "common/d3dx/d3dx_loaders.h"

namespace {

HRESULT draw_through_device(D3dx_Mesh& mesh, DWORD attrib) { return mesh.draw_through_device(attrib); }

}  // namespace

HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile, IDirect3DTexture9** ppTexture)
{
    return d3dx_create_texture_from_file(pDevice, pSrcFile, ppTexture);
}

HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  ID3DXBuffer** ppAdjacency, ID3DXBuffer** ppMaterials,
                                  ID3DXBuffer** ppEffectInstances, DWORD* pNumMaterials, ID3DXMesh** ppMesh)
{
    return d3dx_load_mesh_from_file(pFilename, Options, pD3DDevice, draw_through_device, ppAdjacency, ppMaterials,
                                    ppEffectInstances, pNumMaterials, ppMesh);
}

HRESULT WINAPI D3DXLoadMeshFromXInMemory(LPCVOID Memory, DWORD SizeOfMemory, DWORD Options,
                                         IDirect3DDevice9* pD3DDevice, ID3DXBuffer** ppAdjacency,
                                         ID3DXBuffer** ppMaterials, ID3DXBuffer** ppEffectInstances,
                                         DWORD* pNumMaterials, ID3DXMesh** ppMesh)
{
    return d3dx_load_mesh_from_memory(Memory, SizeOfMemory, Options, pD3DDevice, draw_through_device, ppAdjacency,
                                      ppMaterials, ppEffectInstances, pNumMaterials, ppMesh);
}
