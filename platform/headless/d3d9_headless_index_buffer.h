#pragma once
// A headless index buffer: keeps its bytes, logs Lock/Unlock, fails Lock on request.
#include "d3d9_headless_label.h"
#include "common/d3d9/d3d9_index_buffer.h"

class D3D9_Headless_Index_Buffer : public D3D9_Index_Buffer, public D3D9_Headless_Label {
public:
    D3D9_Headless_Index_Buffer(IDirect3DDevice9* device, D3D9_Resource_Registry* registry, DWORD usage,
                               D3DFORMAT format, D3DPOOL pool, std::string label)
        : D3D9_Index_Buffer(device, registry, usage, format, pool), D3D9_Headless_Label(std::move(label))
    {
    }

    HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
};
