#pragma once
// IDirect3DIndexBuffer9 of both realizations: 16- or 32-bit indices kept in memory. MaxIndex
// answers the smallest and largest index of a range (remembered until the next Unlock), so a
// draw can be checked against the vertices it may read.
#include "common/d3d9/d3d9_buffer_data.h"
#include "common/d3d9/d3d9_resource.h"

// The index at position i of 16- or 32-bit indices, and the smallest and largest of count of them
// (0 and 0 for none).
UINT d3d9_index_at(const BYTE* indices, UINT index_size, UINT i);
void d3d9_index_range(const BYTE* indices, UINT index_size, UINT count, UINT* smallest, UINT* largest);

class D3D9_Index_Buffer : public D3D9_Resource<IDirect3DIndexBuffer9> {
public:
    D3D9_Index_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage, D3DFORMAT format,
                      D3DPOOL pool);

    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DINDEXBUFFER_DESC* pDesc) override;

    UINT IndexSize() const { return format == D3DFMT_INDEX32 ? 4 : 2; }
    UINT IndexCount() const { return data.Length() / IndexSize(); }
    D3DFORMAT Format() const { return format; }
    // The smallest and largest of count indices from first (which the caller has checked lie in
    // the buffer).
    void IndexRange(UINT first, UINT count, UINT* smallest, UINT* largest);

    D3D9_Buffer_Data data;

protected:
    bool Implements(REFIID riid) const override;

private:
    DWORD usage;
    D3DFORMAT format;
    D3DPOOL pool;
    UINT cached_first = 0;
    UINT cached_count = 0;
    UINT cached_min = 0;
    UINT cached_max = 0;
    unsigned cached_generation = 0;
};
