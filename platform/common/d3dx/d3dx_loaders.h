#pragma once
// The file loaders behind D3DXCreateTextureFromFileA and D3DXLoadMeshFromXA/FromXInMemory.
// Each realization defines those entry points on top of these (platform/*/d3dx_entry_points.cpp),
// adding what differs: the native platform's meshes draw through the device; the headless
// platform's record "mesh <path as given> DrawSubset(<i>)" and leave the device alone (so an
// engine test's log shows the subsets drawn, not the mesh's internals), and its textures made
// from files are named after the path as given, so the log reads "SetTexture(0, <path>)".
// Arguments, results and outputs are those of the entry points (see d3dx9tex.h, d3dx9mesh.h).
#include <d3dx9.h>

#include "common/mesh/d3dx_mesh.h"

HRESULT d3dx_create_texture_from_file(IDirect3DDevice9* device, LPCSTR path, IDirect3DTexture9** texture);

HRESULT d3dx_load_mesh_from_file(LPCSTR path, DWORD options, IDirect3DDevice9* device, D3dx_Draw_Subset draw,
                                 ID3DXBuffer** adjacency, ID3DXBuffer** materials, ID3DXBuffer** effect_instances,
                                 DWORD* material_count, ID3DXMesh** mesh);
HRESULT d3dx_load_mesh_from_memory(LPCVOID bytes, DWORD size, DWORD options, IDirect3DDevice9* device,
                                   D3dx_Draw_Subset draw, ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                                   ID3DXBuffer** effect_instances, DWORD* material_count, ID3DXMesh** mesh);
