#include "d3d9_index_buffer.h"

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

void D3D9_Index_Buffer::IndexRange(UINT first, UINT count, UINT* smallest, UINT* largest)
{
    if (cached_generation != data.Generation() || cached_first != first || cached_count != count) {
        UINT low = 0xFFFFFFFFu, high = 0;
        const BYTE* bytes = data.Bytes() + size_t(first) * IndexSize();
        for (UINT i = 0; i < count; ++i) {
            UINT index;
            if (IndexSize() == 2) {
                WORD word;
                std::memcpy(&word, bytes + 2 * size_t(i), 2);
                index = word;
            } else {
                std::memcpy(&index, bytes + 4 * size_t(i), 4);
            }
            low = index < low ? index : low;
            high = index > high ? index : high;
        }
        cached_generation = data.Generation();
        cached_first = first;
        cached_count = count;
        cached_min = count ? low : 0;
        cached_max = high;
    }
    *smallest = cached_min;
    *largest = cached_max;
}

bool D3D9_Index_Buffer::Implements(REFIID riid) const
{
    return riid == IID_IDirect3DIndexBuffer9 || riid == IID_IDirect3DResource9 || d3d9_is_iunknown(riid);
}
