#pragma once
// d3dx/: D3DX math, ID3DXBuffer, and the loaders behind the texture and mesh entry points
// (d3dx_loaders.h) on top of image/ and mesh/; per_realization/ holds the W entry points. Used by
// native/ and headless/, which add what drawing differs in.
//
// ID3DXBuffer: a reference-counted block of memory, zero-filled at creation.
#include <d3dx9core.h>

class D3dx_Buffer final : public ID3DXBuffer {
public:
    // A buffer of size bytes, or null when the memory cannot be had.
    static D3dx_Buffer* create(DWORD size);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, LPVOID* ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    LPVOID STDMETHODCALLTYPE GetBufferPointer() override;
    DWORD STDMETHODCALLTYPE GetBufferSize() override;

private:
    D3dx_Buffer(unsigned char* bytes, DWORD size);
    ~D3dx_Buffer();

    ULONG refs = 1;
    unsigned char* bytes;  // malloc'd, owned
    DWORD size;
};
