#include "common/d3d9/d3d9_vertex_buffer.h"

D3D9_Vertex_Buffer::D3D9_Vertex_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage,
                                       DWORD fvf, D3DPOOL pool)
    : D3D9_Resource(device, registry, D3DRTYPE_VERTEXBUFFER), usage(usage), fvf(fvf), pool(pool)
{
}

HRESULT D3D9_Vertex_Buffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD)
{
    return data.Lock(OffsetToLock, SizeToLock, ppbData);
}

HRESULT D3D9_Vertex_Buffer::Unlock() { return data.Unlock(); }

HRESULT D3D9_Vertex_Buffer::GetDesc(D3DVERTEXBUFFER_DESC* pDesc)
{
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    pDesc->Format = D3DFMT_VERTEXDATA;
    pDesc->Type = D3DRTYPE_VERTEXBUFFER;
    pDesc->Usage = usage;
    pDesc->Pool = pool;
    pDesc->Size = data.Length();
    pDesc->FVF = fvf;
    return D3D_OK;
}

bool D3D9_Vertex_Buffer::Implements(REFIID riid) const
{
    return riid == IID_IDirect3DVertexBuffer9 || riid == IID_IDirect3DResource9 || d3d9_is_iunknown(riid);
}
