#include "common/d3d9/d3d9_index_buffer.h"

#include <cstring>

D3D9_Index_Buffer::D3D9_Index_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage,
                                     D3DFORMAT format, D3DPOOL pool)
    : D3D9_Resource(device, registry, D3DRTYPE_INDEXBUFFER), usage(usage), format(format), pool(pool)
{
}

HRESULT D3D9_Index_Buffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD)
{
    return data.Lock(OffsetToLock, SizeToLock, ppbData);
}

HRESULT D3D9_Index_Buffer::Unlock() { return data.Unlock(); }

HRESULT D3D9_Index_Buffer::GetDesc(D3DINDEXBUFFER_DESC* pDesc)
{
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    pDesc->Format = format;
    pDesc->Type = D3DRTYPE_INDEXBUFFER;
    pDesc->Usage = usage;
    pDesc->Pool = pool;
    pDesc->Size = data.Length();
    return D3D_OK;
}

UINT d3d9_index_at(const BYTE* indices, UINT index_size, UINT i)
{
    if (index_size == 2) {
        WORD word;
        std::memcpy(&word, indices + 2 * size_t(i), 2);
        return word;
    }
    DWORD dword;
    std::memcpy(&dword, indices + 4 * size_t(i), 4);
    return dword;
}

void d3d9_index_range(const BYTE* indices, UINT index_size, UINT count, UINT* smallest, UINT* largest)
{
    UINT low = 0xFFFFFFFFu, high = 0;
    for (UINT i = 0; i < count; ++i) {
        const UINT index = d3d9_index_at(indices, index_size, i);
        low = index < low ? index : low;
        high = index > high ? index : high;
    }
    *smallest = count ? low : 0;
    *largest = high;
}

void D3D9_Index_Buffer::IndexRange(UINT first, UINT count, UINT* smallest, UINT* largest)
{
    if (cached_generation != data.Generation() || cached_first != first || cached_count != count) {
        d3d9_index_range(data.Bytes() + size_t(first) * IndexSize(), IndexSize(), count, &cached_min, &cached_max);
        cached_generation = data.Generation();
        cached_first = first;
        cached_count = count;
    }
    *smallest = cached_min;
    *largest = cached_max;
}

bool D3D9_Index_Buffer::Implements(REFIID riid) const
{
    return riid == IID_IDirect3DIndexBuffer9 || riid == IID_IDirect3DResource9 || d3d9_is_iunknown(riid);
}
