#pragma once
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
