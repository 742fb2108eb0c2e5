#include "d3d9_headless_vertex_buffer.h"

#include "call_log.h"
#include "d3d9_log_format.h"
#include "headless_d3d9.h"

using namespace orvex_headless;

HRESULT D3D9_Headless_Vertex_Buffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags)
{
    const std::string line = label + " Lock(" + std::to_string(OffsetToLock) + ", " + std::to_string(SizeToLock) +
                             ", " + d3d9_lock_flags(Flags) + ")";
    HRESULT hr = d3d9_failures().lock;
    if (SUCCEEDED(hr))
        hr = D3D9_Vertex_Buffer::Lock(OffsetToLock, SizeToLock, ppbData, Flags);
    else if (ppbData)
        *ppbData = nullptr;
    record_call(FAILED(hr) ? line + " -> " + d3d9_result(hr) : line);
    return hr;
}

HRESULT D3D9_Headless_Vertex_Buffer::Unlock()
{
    const HRESULT hr = D3D9_Vertex_Buffer::Unlock();
    record_call(FAILED(hr) ? label + " Unlock() -> " + d3d9_result(hr) : label + " Unlock()");
    return hr;
}
