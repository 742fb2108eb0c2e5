#include "common/d3dx/d3dx_buffer.h"

#include <cstdlib>
#include <new>

D3dx_Buffer* D3dx_Buffer::create(DWORD size) {
    // calloc: fresh pages come zeroed without being touched. A zero-byte buffer still hands out
    // a valid pointer.
    void* bytes = calloc(size ? size : 1, 1);
    if (!bytes) return nullptr;
    D3dx_Buffer* buffer = new (std::nothrow) D3dx_Buffer(static_cast<unsigned char*>(bytes), size);
    if (!buffer) free(bytes);
    return buffer;
}

D3dx_Buffer::D3dx_Buffer(unsigned char* b, DWORD n) : bytes(b), size(n) {}

D3dx_Buffer::~D3dx_Buffer() { free(bytes); }

HRESULT STDMETHODCALLTYPE D3dx_Buffer::QueryInterface(REFIID iid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    static const IID iid_unknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
    if (iid == IID_ID3DXBuffer || iid == iid_unknown) {
        AddRef();
        *ppv = this;
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE D3dx_Buffer::AddRef() { return ++refs; }

ULONG STDMETHODCALLTYPE D3dx_Buffer::Release() {
    ULONG left = --refs;
    if (left == 0) delete this;
    return left;
}

LPVOID STDMETHODCALLTYPE D3dx_Buffer::GetBufferPointer() { return bytes; }

DWORD STDMETHODCALLTYPE D3dx_Buffer::GetBufferSize() { return size; }

extern "C" HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (!ppBuffer) return D3DERR_INVALIDCALL;
    *ppBuffer = D3dx_Buffer::create(NumBytes);
    return *ppBuffer ? D3D_OK : E_OUTOFMEMORY;
}
