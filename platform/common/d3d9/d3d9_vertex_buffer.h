#pragma once
// IDirect3DVertexBuffer9 of both realizations: the bytes live in memory (D3D9_Buffer_Data); a
// realization derives to mirror them elsewhere or to record the calls.
#include "common/d3d9/d3d9_buffer_data.h"
#include "common/d3d9/d3d9_resource.h"

class D3D9_Vertex_Buffer : public D3D9_Resource<IDirect3DVertexBuffer9> {
public:
    D3D9_Vertex_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage, DWORD fvf,
                       D3DPOOL pool);

    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* pDesc) override;

    D3D9_Buffer_Data data;

protected:
    bool Implements(REFIID riid) const override;

private:
    DWORD usage;
    DWORD fvf;
    D3DPOOL pool;
};
