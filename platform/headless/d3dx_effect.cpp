#include "d3dx_effect.h"

#include "call_log.h"
#include "common/effect/effect_creation.h"

#include <cstdio>

namespace {

std::string number(double v) {
    char text[32];
    snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string numbers(const float* f, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += (i ? " " : "") + number(f ? f[i] : 0.0);
    return s;
}

std::string integers(const INT* v, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += (i ? " " : "") + std::to_string(v ? v[i] : 0);
    return s;
}

}  // namespace

std::string D3dx_Effect::call(const char* name, D3DXHANDLE h, const std::string& values) const {
    return std::string(name) + "(" + handle_name(h) + ", " + values + ")";
}

HRESULT D3dx_Effect::record(const std::string& call, HRESULT result) {
    orvex_headless::record_call("effect " + path_ + " " + call + (FAILED(result) ? " -> failed" : ""));
    return result;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetValue(D3DXHANDLE h, LPCVOID pData, UINT Bytes) {
    HRESULT hr = D3dx_Effect_Base::SetValue(h, pData, Bytes);
    return record(call("SetValue", h, std::to_string(Bytes) + " bytes"), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetRawValue(D3DXHANDLE h, LPCVOID pData, UINT ByteOffset, UINT Bytes) {
    HRESULT hr = D3dx_Effect_Base::SetRawValue(h, pData, ByteOffset, Bytes);
    return record(call("SetRawValue", h, std::to_string(ByteOffset) + ", " + std::to_string(Bytes) + " bytes"), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetBool(D3DXHANDLE h, BOOL b) {
    HRESULT hr = D3dx_Effect_Base::SetBool(h, b);
    return record(call("SetBool", h, std::to_string(b)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetBoolArray(D3DXHANDLE h, CONST BOOL* pb, UINT Count) {
    HRESULT hr = D3dx_Effect_Base::SetBoolArray(h, pb, Count);
    return record(call("SetBoolArray", h, integers(pb, pb ? Count : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetInt(D3DXHANDLE h, INT n) {
    HRESULT hr = D3dx_Effect_Base::SetInt(h, n);
    return record(call("SetInt", h, std::to_string(n)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetIntArray(D3DXHANDLE h, CONST INT* pn, UINT Count) {
    HRESULT hr = D3dx_Effect_Base::SetIntArray(h, pn, Count);
    return record(call("SetIntArray", h, integers(pn, pn ? Count : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetFloat(D3DXHANDLE h, FLOAT f) {
    HRESULT hr = D3dx_Effect_Base::SetFloat(h, f);
    return record(call("SetFloat", h, number(f)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetFloatArray(D3DXHANDLE h, CONST FLOAT* pf, UINT Count) {
    HRESULT hr = D3dx_Effect_Base::SetFloatArray(h, pf, Count);
    return record(call("SetFloatArray", h, numbers(pf, pf ? Count : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetVector(D3DXHANDLE h, CONST D3DXVECTOR4* pVector) {
    HRESULT hr = D3dx_Effect_Base::SetVector(h, pVector);
    return record(call("SetVector", h, numbers(reinterpret_cast<const float*>(pVector), pVector ? 4 : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetVectorArray(D3DXHANDLE h, CONST D3DXVECTOR4* pVector, UINT Count) {
    HRESULT hr = D3dx_Effect_Base::SetVectorArray(h, pVector, Count);
    return record(call("SetVectorArray", h, numbers(reinterpret_cast<const float*>(pVector), pVector ? 4 * size_t(Count) : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetMatrix(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) {
    HRESULT hr = D3dx_Effect_Base::SetMatrix(h, pMatrix);
    return record(call("SetMatrix", h, numbers(reinterpret_cast<const float*>(pMatrix), pMatrix ? 16 : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetMatrixArray(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix, UINT Count) {
    HRESULT hr = D3dx_Effect_Base::SetMatrixArray(h, pMatrix, Count);
    return record(call("SetMatrixArray", h, numbers(reinterpret_cast<const float*>(pMatrix), pMatrix ? 16 * size_t(Count) : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetMatrixTranspose(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) {
    HRESULT hr = D3dx_Effect_Base::SetMatrixTranspose(h, pMatrix);
    return record(call("SetMatrixTranspose", h, numbers(reinterpret_cast<const float*>(pMatrix), pMatrix ? 16 : 0)), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetString(D3DXHANDLE h, LPCSTR pString) {
    HRESULT hr = D3dx_Effect_Base::SetString(h, pString);
    return record(call("SetString", h, (pString ? "\"" + std::string(pString) + "\"" : "null")), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetTexture(D3DXHANDLE h, LPDIRECT3DBASETEXTURE9 pTexture) {
    HRESULT hr = D3dx_Effect_Base::SetTexture(h, pTexture);
    return record(call("SetTexture", h, (pTexture ? "texture" : "null")), hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::SetTechnique(D3DXHANDLE h) {
    HRESULT hr = D3dx_Effect_Base::SetTechnique(h);
    return record("SetTechnique(" + handle_name(h) + ")", hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::Begin(UINT* pPasses, DWORD Flags) {
    HRESULT hr = D3dx_Effect_Base::Begin(pPasses, Flags);
    return record("Begin(" + std::to_string(Flags) + ")", hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::BeginPass(UINT Pass) {
    HRESULT hr = D3dx_Effect_Base::BeginPass(Pass);
    return record("BeginPass(" + std::to_string(Pass) + ")", hr);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect::CommitChanges() { return record("CommitChanges()", D3dx_Effect_Base::CommitChanges()); }
HRESULT STDMETHODCALLTYPE D3dx_Effect::EndPass() { return record("EndPass()", D3dx_Effect_Base::EndPass()); }
HRESULT STDMETHODCALLTYPE D3dx_Effect::End() { return record("End()", D3dx_Effect_Base::End()); }

namespace {

HRESULT finish(LPDIRECT3DDEVICE9 device, HRESULT hr, orvex_fx::Compiled_Effect& fx, LPD3DXEFFECTPOOL pool,
               const std::string& path, const std::string& call, LPD3DXEFFECT* ppEffect) {
    if (SUCCEEDED(hr)) *ppEffect = new D3dx_Effect(device, std::move(fx), pool, path);
    orvex_headless::record_call(call + (FAILED(hr) ? " -> failed" : ""));
    return hr;
}

}  // namespace

extern "C" HRESULT WINAPI D3DXCreateEffectFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                                    CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                                    LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                                    LPD3DXBUFFER* ppCompilationErrors) {
    (void)Flags;
    if (ppCompilationErrors) *ppCompilationErrors = nullptr;
    if (ppEffect) *ppEffect = nullptr;
    if (!pDevice || !pSrcFile || !ppEffect) return D3DERR_INVALIDCALL;
    orvex_fx::Compiled_Effect fx;
    HRESULT hr = orvex_fx::load_effect_file(pSrcFile, pDefines, pInclude, fx, ppCompilationErrors);
    return finish(pDevice, hr, fx, pPool, pSrcFile, "D3DXCreateEffectFromFileA(\"" + std::string(pSrcFile) + "\")",
                  ppEffect);
}

extern "C" HRESULT WINAPI D3DXCreateEffect(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData, UINT SrcDataLen,
                                           CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                           LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                           LPD3DXBUFFER* ppCompilationErrors) {
    (void)Flags;
    if (ppCompilationErrors) *ppCompilationErrors = nullptr;
    if (ppEffect) *ppEffect = nullptr;
    if (!pDevice || !pSrcData || !ppEffect) return D3DERR_INVALIDCALL;
    orvex_fx::Compiled_Effect fx;
    HRESULT hr = orvex_fx::load_effect_memory(pSrcData, SrcDataLen, pDefines, pInclude, fx, ppCompilationErrors);
    return finish(pDevice, hr, fx, pPool, "memory", "D3DXCreateEffect(" + std::to_string(SrcDataLen) + " bytes)", ppEffect);
}
