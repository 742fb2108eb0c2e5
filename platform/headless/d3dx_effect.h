#pragma once
// The headless ID3DXEffect: compiles as the native effect does, records instead of drawing (the
// record's format is in headless_d3dx_effect.h).
#include "common/effect/d3dx_effect_base.h"

#include <string>

class D3dx_Effect final : public D3dx_Effect_Base {
public:
    D3dx_Effect(IDirect3DDevice9* device, orvex_fx::Compiled_Effect&& fx, ID3DXEffectPool* pool, std::string path)
        : D3dx_Effect_Base(device, std::move(fx), pool), path_(std::move(path)) {}

    HRESULT STDMETHODCALLTYPE SetValue(D3DXHANDLE h, LPCVOID pData, UINT Bytes) override;
    HRESULT STDMETHODCALLTYPE SetRawValue(D3DXHANDLE h, LPCVOID pData, UINT ByteOffset, UINT Bytes) override;
    HRESULT STDMETHODCALLTYPE SetBool(D3DXHANDLE h, BOOL b) override;
    HRESULT STDMETHODCALLTYPE SetBoolArray(D3DXHANDLE h, CONST BOOL* pb, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetInt(D3DXHANDLE h, INT n) override;
    HRESULT STDMETHODCALLTYPE SetIntArray(D3DXHANDLE h, CONST INT* pn, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetFloat(D3DXHANDLE h, FLOAT f) override;
    HRESULT STDMETHODCALLTYPE SetFloatArray(D3DXHANDLE h, CONST FLOAT* pf, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetVector(D3DXHANDLE h, CONST D3DXVECTOR4* pVector) override;
    HRESULT STDMETHODCALLTYPE SetVectorArray(D3DXHANDLE h, CONST D3DXVECTOR4* pVector, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrix(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetMatrixArray(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrixTranspose(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetString(D3DXHANDLE h, LPCSTR pString) override;
    HRESULT STDMETHODCALLTYPE SetTexture(D3DXHANDLE h, LPDIRECT3DBASETEXTURE9 pTexture) override;
    HRESULT STDMETHODCALLTYPE SetTechnique(D3DXHANDLE h) override;
    HRESULT STDMETHODCALLTYPE Begin(UINT* pPasses, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE BeginPass(UINT Pass) override;
    HRESULT STDMETHODCALLTYPE CommitChanges() override;
    HRESULT STDMETHODCALLTYPE EndPass() override;
    HRESULT STDMETHODCALLTYPE End() override;

private:
    void on_begin(DWORD) override {}
    void on_begin_pass(UINT) override {}
    void on_commit() override {}
    void on_end_pass() override {}
    void on_end() override {}

    HRESULT record(const std::string& call, HRESULT result);
    // "SetFloat(LightFalloff, 1000)"
    std::string call(const char* name, D3DXHANDLE h, const std::string& values) const;

    std::string path_;
};
