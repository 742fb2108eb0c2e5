#pragma once
// A headless vertex buffer: keeps its bytes, logs Lock/Unlock, fails Lock on request.
#include "d3d9_headless_label.h"
#include "common/d3d9/d3d9_vertex_buffer.h"

class D3D9_Headless_Vertex_Buffer : public D3D9_Vertex_Buffer, public D3D9_Headless_Label {
public:
    D3D9_Headless_Vertex_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage, DWORD fvf,
                                D3DPOOL pool, std::string label)
        : D3D9_Vertex_Buffer(device, registry, usage, fvf, pool), D3D9_Headless_Label(std::move(label))
    {
    }

    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
};
