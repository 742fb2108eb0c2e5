#include "common/d3d9/d3d9_buffer_data.h"

#include <new>

bool D3D9_Buffer_Data::Allocate(UINT length)
{
    if (length > max_length)
        return false;
    try {
        bytes.assign(length, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

HRESULT D3D9_Buffer_Data::Lock(UINT offset, UINT size, void** data)
{
    if (!data)
        return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (offset > Length() || size > Length() - offset)
        return D3DERR_INVALIDCALL;
    *data = bytes.data() + offset;
    ++locks;
    return D3D_OK;
}

HRESULT D3D9_Buffer_Data::Unlock()
{
    if (locks == 0)
        return D3DERR_INVALIDCALL;
    --locks;
    ++generation;
    return D3D_OK;
}
