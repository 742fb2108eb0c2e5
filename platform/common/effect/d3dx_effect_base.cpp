#include "common/effect/d3dx_effect_base.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

using orvex_fx::Component;
using orvex_fx::Parameter;

D3dx_Effect_Base::D3dx_Effect_Base(IDirect3DDevice9* device, orvex_fx::Compiled_Effect&& fx, ID3DXEffectPool* pool)
    : device_(device), fx_(std::move(fx)), pool_(pool) {
    if (device_) device_->AddRef();
    if (pool_) pool_->AddRef();
    orvex_fx::Effect_Description& d = fx_.description;
    for (Parameter& p : d.parameters) values_.push_back(&p);
    for (size_t i = 0; i < d.parameters.size(); ++i) {
        by_name_.emplace(d.parameters[i].name, static_cast<int>(i));
        for (Parameter& a : d.parameters[i].annotations) {
            values_.push_back(&a);
            annotation_owner_.push_back(static_cast<int>(i));
        }
    }
    // Technique and pass slots follow the values; their annotations are values too, so count them first.
    size_t annotations = 0;
    for (const orvex_fx::Technique& t : d.techniques) {
        annotations += t.annotations.size();
        for (const orvex_fx::Pass& p : t.passes) annotations += p.annotations.size();
    }
    technique_base_ = static_cast<int>(values_.size() + annotations);
    pass_base_ = technique_base_ + static_cast<int>(d.techniques.size());
    for (size_t t = 0; t < d.techniques.size(); ++t) {
        for (Parameter& a : d.techniques[t].annotations) {
            values_.push_back(&a);
            annotation_owner_.push_back(technique_base_ + static_cast<int>(t));
        }
    }
    for (size_t t = 0; t < d.techniques.size(); ++t) {
        for (size_t p = 0; p < d.techniques[t].passes.size(); ++p) {
            int pass_slot = pass_base_ + static_cast<int>(pass_slots_.size());
            pass_slots_.push_back({static_cast<int>(t), static_cast<int>(p)});
            for (Parameter& a : d.techniques[t].passes[p].annotations) {
                values_.push_back(&a);
                annotation_owner_.push_back(pass_slot);
            }
        }
    }
    handles_.assign(static_cast<size_t>(pass_base_) + pass_slots_.size() + 1, 0);
    textures_.assign(d.parameters.size(), nullptr);
}

D3dx_Effect_Base::~D3dx_Effect_Base() {
    for (IDirect3DBaseTexture9* t : textures_)
        if (t) t->Release();
    if (pool_) pool_->Release();
    if (device_) device_->Release();
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    static const IID iid_unknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
    if (iid == iid_unknown) {
        AddRef();
        *ppv = static_cast<ID3DXEffect*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE D3dx_Effect_Base::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE D3dx_Effect_Base::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

// ---- handles ----

int D3dx_Effect_Base::slot(D3DXHANDLE h) const {
    if (!h || handles_.empty()) return -1;
    const char* base = handles_.data();
    if (h >= base && h < base + handles_.size() - 1) return static_cast<int>(h - base);
    return -2;  // a name
}

int D3dx_Effect_Base::parameter_by_name(const char* name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? -1 : it->second;
}

int D3dx_Effect_Base::value_index(D3DXHANDLE h) const {
    int s = slot(h);
    if (s == -1) return -1;
    if (s == -2) return parameter_by_name(h);
    return s < static_cast<int>(values_.size()) ? s : -1;
}

int D3dx_Effect_Base::technique_index(D3DXHANDLE h) const {
    int s = slot(h);
    if (s == -1) return -1;
    if (s == -2) {
        const auto& ts = fx_.description.techniques;
        for (size_t i = 0; i < ts.size(); ++i)
            if (ts[i].name == h) return static_cast<int>(i);
        return -1;
    }
    if (s >= technique_base_ && s < pass_base_) return s - technique_base_;
    return -1;
}

std::string D3dx_Effect_Base::handle_name(D3DXHANDLE h) const {
    int s = slot(h);
    if (s == -1) return "null";
    if (s == -2) return h;
    if (s < static_cast<int>(values_.size())) return values_[s]->name;
    if (s < pass_base_) return fx_.description.techniques[s - technique_base_].name;
    const auto& tp = pass_slots_[s - pass_base_];
    return fx_.description.techniques[tp.first].passes[tp.second].name;
}

// ---- reflection ----

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetDesc(D3DXEFFECT_DESC* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    pDesc->Creator = "Orvex effect compiler";
    pDesc->Parameters = static_cast<UINT>(fx_.description.parameters.size());
    pDesc->Techniques = static_cast<UINT>(fx_.description.techniques.size());
    pDesc->Functions = static_cast<UINT>(fx_.description.functions.size());
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetParameterDesc(D3DXHANDLE hParameter, D3DXPARAMETER_DESC* pDesc) {
    int i = value_index(hParameter);
    if (i < 0 || !pDesc) return D3DERR_INVALIDCALL;
    const Parameter& p = *values_[i];
    pDesc->Name = p.name.c_str();
    pDesc->Semantic = p.semantic.empty() ? nullptr : p.semantic.c_str();
    pDesc->Class = p.cls;
    pDesc->Type = p.type;
    pDesc->Rows = p.rows;
    pDesc->Columns = p.columns;
    pDesc->Elements = p.elements;
    pDesc->Annotations = static_cast<UINT>(p.annotations.size());
    pDesc->StructMembers = 0;
    pDesc->Flags = p.flags;
    pDesc->Bytes = p.is_numeric() ? p.components() * 4 : p.type == D3DXPT_STRING ? sizeof(LPCSTR)
                                                          : sizeof(void*) * (p.elements ? p.elements : 1);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetTechniqueDesc(D3DXHANDLE hTechnique, D3DXTECHNIQUE_DESC* pDesc) {
    int t = technique_index(hTechnique);
    if (t < 0 || !pDesc) return D3DERR_INVALIDCALL;
    const orvex_fx::Technique& tech = fx_.description.techniques[t];
    pDesc->Name = tech.name.empty() ? nullptr : tech.name.c_str();
    pDesc->Passes = static_cast<UINT>(tech.passes.size());
    pDesc->Annotations = static_cast<UINT>(tech.annotations.size());
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetPassDesc(D3DXHANDLE hPass, D3DXPASS_DESC* pDesc) {
    int s = slot(hPass);
    if (s < pass_base_ || !pDesc) return D3DERR_INVALIDCALL;
    const auto& tp = pass_slots_[s - pass_base_];
    const orvex_fx::Pass& p = fx_.description.techniques[tp.first].passes[tp.second];
    pDesc->Name = p.name.empty() ? nullptr : p.name.c_str();
    pDesc->Annotations = static_cast<UINT>(p.annotations.size());
    pDesc->pVertexShaderFunction = nullptr;  // no D3D9 byte code exists here
    pDesc->pPixelShaderFunction = nullptr;
    return D3D_OK;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetParameter(D3DXHANDLE hParameter, UINT Index) {
    if (hParameter) return nullptr;  // struct members are not reflected
    return Index < fx_.description.parameters.size() ? handle(static_cast<int>(Index)) : nullptr;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetParameterByName(D3DXHANDLE hParameter, LPCSTR pName) {
    if (!pName) return nullptr;
    if (hParameter) return GetAnnotationByName(hParameter, pName);
    int i = parameter_by_name(pName);
    return i < 0 ? nullptr : handle(i);
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetParameterBySemantic(D3DXHANDLE hParameter, LPCSTR pSemantic) {
    if (!pSemantic || hParameter) return nullptr;
    const auto& ps = fx_.description.parameters;
    for (size_t i = 0; i < ps.size(); ++i)
        if (strcasecmp(ps[i].semantic.c_str(), pSemantic) == 0) return handle(static_cast<int>(i));
    return nullptr;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetParameterElement(D3DXHANDLE, UINT) {
    return nullptr;  // array elements are set through the Set*Array calls
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetTechnique(UINT Index) {
    return Index < fx_.description.techniques.size() ? handle(technique_base_ + static_cast<int>(Index)) : nullptr;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetTechniqueByName(LPCSTR pName) {
    if (!pName) return nullptr;
    int t = technique_index(pName);
    return t < 0 ? nullptr : handle(technique_base_ + t);
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetPass(D3DXHANDLE hTechnique, UINT Index) {
    int t = technique_index(hTechnique);
    if (t < 0) return nullptr;
    for (size_t s = 0; s < pass_slots_.size(); ++s)
        if (pass_slots_[s].first == t && pass_slots_[s].second == static_cast<int>(Index))
            return handle(pass_base_ + static_cast<int>(s));
    return nullptr;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetPassByName(D3DXHANDLE hTechnique, LPCSTR pName) {
    int t = technique_index(hTechnique);
    if (t < 0 || !pName) return nullptr;
    for (size_t s = 0; s < pass_slots_.size(); ++s) {
        const auto& tp = pass_slots_[s];
        if (tp.first == t && fx_.description.techniques[t].passes[tp.second].name == pName)
            return handle(pass_base_ + static_cast<int>(s));
    }
    return nullptr;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetAnnotation(D3DXHANDLE hObject, UINT Index) {
    int owner = slot(hObject);
    if (owner == -2) {
        int p = parameter_by_name(hObject);
        int t = technique_index(hObject);
        owner = p >= 0 ? p : t >= 0 ? technique_base_ + t : -1;
    }
    if (owner < 0) return nullptr;
    UINT seen = 0;
    int first = parameter_count();
    for (size_t a = 0; a < annotation_owner_.size(); ++a)
        if (annotation_owner_[a] == owner && seen++ == Index) return handle(first + static_cast<int>(a));
    return nullptr;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetAnnotationByName(D3DXHANDLE hObject, LPCSTR pName) {
    if (!pName) return nullptr;
    for (UINT i = 0;; ++i) {
        D3DXHANDLE a = GetAnnotation(hObject, i);
        if (!a) return nullptr;
        if (values_[slot(a)]->name == pName) return a;
    }
}

// ---- values ----

int D3dx_Effect_Base::numeric(D3DXHANDLE h) const {
    int i = value_index(h);
    return i >= 0 && values_[i]->is_numeric() ? i : -1;
}

HRESULT D3dx_Effect_Base::write(D3DXHANDLE h, const void* data, Number kind, UINT count, UINT first) {
    int i = numeric(h);
    if (i < 0 || !data) return D3DERR_INVALIDCALL;
    Parameter& p = *values_[i];
    for (UINT k = 0; k < count && first + k < p.value.size(); ++k) {
        float f = 0;
        int32_t n = 0;
        if (kind == Number::Float) {
            f = static_cast<const float*>(data)[k];
            n = std::isfinite(f) ? static_cast<int32_t>(std::lround(std::fmax(std::fmin(f, 2147483520.0f), -2147483648.0f))) : 0;
        } else {
            n = static_cast<const int32_t*>(data)[k];
            if (kind == Number::Bool) n = n != 0;
            f = static_cast<float>(n);
        }
        Component& c = p.value[first + k];
        if (p.type == D3DXPT_FLOAT) c.f = kind == Number::Float ? f : static_cast<float>(n);
        else if (p.type == D3DXPT_BOOL) c.u = (kind == Number::Float ? f != 0.0f : n != 0) ? 1u : 0u;
        else c.i = n;
    }
    ++version_;
    return D3D_OK;
}

HRESULT D3dx_Effect_Base::read(D3DXHANDLE h, void* data, Number kind, UINT count, UINT first) const {
    int i = numeric(h);
    if (i < 0 || !data) return D3DERR_INVALIDCALL;
    const Parameter& p = *values_[i];
    for (UINT k = 0; k < count; ++k) {
        Component c{};
        if (first + k < p.value.size()) c = p.value[first + k];
        float f = p.type == D3DXPT_FLOAT ? c.f : static_cast<float>(c.i);
        int32_t n = p.type == D3DXPT_FLOAT ? static_cast<int32_t>(std::lround(std::isfinite(c.f) ? c.f : 0.0f)) : c.i;
        if (kind == Number::Float) static_cast<float*>(data)[k] = f;
        else if (kind == Number::Bool) static_cast<int32_t*>(data)[k] = (p.type == D3DXPT_FLOAT ? c.f != 0.0f : c.i != 0) ? TRUE : FALSE;
        else static_cast<int32_t*>(data)[k] = n;
    }
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetValue(D3DXHANDLE hParameter, LPCVOID pData, UINT Bytes) {
    int i = value_index(hParameter);
    if (i < 0 || !pData) return D3DERR_INVALIDCALL;
    Parameter& p = *values_[i];
    if (i < parameter_count() && p.is_texture() && Bytes >= sizeof(IDirect3DBaseTexture9*)) {
        IDirect3DBaseTexture9* t;
        memcpy(&t, pData, sizeof t);
        return D3dx_Effect_Base::SetTexture(hParameter, t);
    }
    if (!p.is_numeric()) return D3DERR_INVALIDCALL;
    size_t n = std::min<size_t>(Bytes / 4, p.value.size());
    memcpy(p.value.data(), pData, n * 4);
    ++version_;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetValue(D3DXHANDLE hParameter, LPVOID pData, UINT Bytes) {
    int i = value_index(hParameter);
    if (i < 0 || !pData) return D3DERR_INVALIDCALL;
    const Parameter& p = *values_[i];
    if (i < parameter_count() && p.is_texture() && Bytes >= sizeof(IDirect3DBaseTexture9*)) {
        IDirect3DBaseTexture9* t = textures_[i];
        if (t) t->AddRef();
        memcpy(pData, &t, sizeof t);
        return D3D_OK;
    }
    if (p.type == D3DXPT_STRING && Bytes >= sizeof(LPCSTR)) {
        LPCSTR s = p.string_value.c_str();
        memcpy(pData, &s, sizeof s);
        return D3D_OK;
    }
    if (!p.is_numeric() || Bytes < p.value.size() * 4) return D3DERR_INVALIDCALL;
    memcpy(pData, p.value.data(), p.value.size() * 4);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetRawValue(D3DXHANDLE hParameter, LPCVOID pData, UINT ByteOffset, UINT Bytes) {
    int i = numeric(hParameter);
    if (i < 0 || !pData) return D3DERR_INVALIDCALL;
    Parameter& p = *values_[i];
    size_t size = p.value.size() * 4;
    if (ByteOffset > size || Bytes > size - ByteOffset) return D3DERR_INVALIDCALL;
    memcpy(reinterpret_cast<char*>(p.value.data()) + ByteOffset, pData, Bytes);
    ++version_;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetBool(D3DXHANDLE h, BOOL b) { return write(h, &b, Number::Bool, 1); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetBool(D3DXHANDLE h, BOOL* pb) { return read(h, pb, Number::Bool, 1); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetBoolArray(D3DXHANDLE h, CONST BOOL* pb, UINT n) { return write(h, pb, Number::Bool, n); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetBoolArray(D3DXHANDLE h, BOOL* pb, UINT n) { return read(h, pb, Number::Bool, n); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetInt(D3DXHANDLE h, INT n) { return write(h, &n, Number::Int, 1); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetInt(D3DXHANDLE h, INT* pn) { return read(h, pn, Number::Int, 1); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetIntArray(D3DXHANDLE h, CONST INT* pn, UINT n) { return write(h, pn, Number::Int, n); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetIntArray(D3DXHANDLE h, INT* pn, UINT n) { return read(h, pn, Number::Int, n); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetFloat(D3DXHANDLE h, FLOAT f) { return write(h, &f, Number::Float, 1); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetFloat(D3DXHANDLE h, FLOAT* pf) { return read(h, pf, Number::Float, 1); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetFloatArray(D3DXHANDLE h, CONST FLOAT* pf, UINT n) { return write(h, pf, Number::Float, n); }
HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetFloatArray(D3DXHANDLE h, FLOAT* pf, UINT n) { return read(h, pf, Number::Float, n); }

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetVector(D3DXHANDLE h, CONST D3DXVECTOR4* pVector) {
    return D3dx_Effect_Base::SetVectorArray(h, pVector, 1);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetVector(D3DXHANDLE h, D3DXVECTOR4* pVector) {
    return D3dx_Effect_Base::GetVectorArray(h, pVector, 1);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetVectorArray(D3DXHANDLE h, CONST D3DXVECTOR4* pVector, UINT Count) {
    int i = numeric(h);
    if (i < 0 || !pVector || values_[i]->cls == D3DXPC_MATRIX_ROWS || values_[i]->cls == D3DXPC_MATRIX_COLUMNS)
        return D3DERR_INVALIDCALL;
    UINT columns = values_[i]->columns;
    for (UINT k = 0; k < Count; ++k) {
        const FLOAT* f = reinterpret_cast<const FLOAT*>(&pVector[k]);
        HRESULT hr = write(h, f, Number::Float, columns, k * columns);
        if (FAILED(hr)) return hr;
    }
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetVectorArray(D3DXHANDLE h, D3DXVECTOR4* pVector, UINT Count) {
    int i = numeric(h);
    if (i < 0 || !pVector || values_[i]->cls == D3DXPC_MATRIX_ROWS || values_[i]->cls == D3DXPC_MATRIX_COLUMNS)
        return D3DERR_INVALIDCALL;
    UINT columns = values_[i]->columns;
    for (UINT k = 0; k < Count; ++k) {
        float f[4] = {0, 0, 0, 0};
        read(h, f, Number::Float, columns, k * columns);
        memcpy(&pVector[k], f, sizeof f);
    }
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetMatrixArray(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix, UINT Count) {
    int i = numeric(h);
    if (i < 0 || !pMatrix || values_[i]->cls != D3DXPC_MATRIX_ROWS) return D3DERR_INVALIDCALL;
    const Parameter& p = *values_[i];
    UINT size = p.rows * p.columns;
    for (UINT k = 0; k < Count && k < (p.elements ? p.elements : 1); ++k) {
        const FLOAT* m = reinterpret_cast<const FLOAT*>(&pMatrix[k]);
        for (UINT r = 0; r < p.rows; ++r) write(h, m + r * 4, Number::Float, p.columns, k * size + r * p.columns);
    }
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetMatrixArray(D3DXHANDLE h, D3DXMATRIX* pMatrix, UINT Count) {
    int i = numeric(h);
    if (i < 0 || !pMatrix || values_[i]->cls != D3DXPC_MATRIX_ROWS) return D3DERR_INVALIDCALL;
    const Parameter& p = *values_[i];
    UINT size = p.rows * p.columns;
    for (UINT k = 0; k < Count; ++k) {
        FLOAT m[16] = {0};
        for (UINT r = 0; r < p.rows; ++r) read(h, m + r * 4, Number::Float, p.columns, k * size + r * p.columns);
        memcpy(&pMatrix[k], m, sizeof m);
    }
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetMatrix(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) {
    return D3dx_Effect_Base::SetMatrixArray(h, pMatrix, 1);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetMatrix(D3DXHANDLE h, D3DXMATRIX* pMatrix) {
    return GetMatrixArray(h, pMatrix, 1);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetMatrixTranspose(D3DXHANDLE h, CONST D3DXMATRIX* pMatrix) {
    if (!pMatrix) return D3DERR_INVALIDCALL;
    const FLOAT* m = reinterpret_cast<const FLOAT*>(pMatrix);
    FLOAT t[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) t[r * 4 + c] = m[c * 4 + r];
    D3DXMATRIX transposed;
    memcpy(&transposed, t, sizeof t);
    return D3dx_Effect_Base::SetMatrixArray(h, &transposed, 1);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetMatrixTranspose(D3DXHANDLE h, D3DXMATRIX* pMatrix) {
    D3DXMATRIX m;
    HRESULT hr = GetMatrixArray(h, &m, 1);
    if (FAILED(hr)) return hr;
    const FLOAT* f = reinterpret_cast<const FLOAT*>(&m);
    FLOAT t[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) t[r * 4 + c] = f[c * 4 + r];
    memcpy(pMatrix, t, sizeof t);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetString(D3DXHANDLE h, LPCSTR pString) {
    int i = value_index(h);
    if (i < 0 || !pString || values_[i]->type != D3DXPT_STRING) return D3DERR_INVALIDCALL;
    values_[i]->string_value = pString;
    ++version_;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetString(D3DXHANDLE h, LPCSTR* ppString) {
    int i = value_index(h);
    if (i < 0 || !ppString || values_[i]->type != D3DXPT_STRING) return D3DERR_INVALIDCALL;
    *ppString = values_[i]->string_value.c_str();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetTexture(D3DXHANDLE h, LPDIRECT3DBASETEXTURE9 pTexture) {
    int i = value_index(h);
    if (i < 0 || i >= parameter_count() || !values_[i]->is_texture()) return D3DERR_INVALIDCALL;
    if (pTexture) pTexture->AddRef();
    if (textures_[i]) textures_[i]->Release();
    textures_[i] = pTexture;
    ++version_;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetTexture(D3DXHANDLE h, LPDIRECT3DBASETEXTURE9* ppTexture) {
    int i = value_index(h);
    if (i < 0 || i >= parameter_count() || !values_[i]->is_texture() || !ppTexture) return D3DERR_INVALIDCALL;
    *ppTexture = textures_[i];
    if (*ppTexture) (*ppTexture)->AddRef();
    return D3D_OK;
}

// ---- techniques and the pass sequence ----

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetPool(LPD3DXEFFECTPOOL* ppPool) {
    if (!ppPool) return D3DERR_INVALIDCALL;
    *ppPool = pool_;
    if (pool_) pool_->AddRef();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::SetTechnique(D3DXHANDLE hTechnique) {
    int t = technique_index(hTechnique);
    if (t < 0) return D3DERR_INVALIDCALL;
    technique_ = t;
    return D3D_OK;
}

D3DXHANDLE STDMETHODCALLTYPE D3dx_Effect_Base::GetCurrentTechnique() {
    return fx_.description.techniques.empty() ? nullptr : handle(technique_base_ + technique_);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::ValidateTechnique(D3DXHANDLE hTechnique) {
    return technique_index(hTechnique) < 0 ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::FindNextValidTechnique(D3DXHANDLE hTechnique, D3DXHANDLE* pTechnique) {
    if (!pTechnique) return D3DERR_INVALIDCALL;
    int next = 0;
    if (hTechnique) {
        int t = technique_index(hTechnique);
        if (t < 0) return D3DERR_INVALIDCALL;
        next = t + 1;
    }
    *pTechnique = next < static_cast<int>(fx_.description.techniques.size()) ? handle(technique_base_ + next) : nullptr;
    return *pTechnique ? D3D_OK : S_FALSE;
}

BOOL STDMETHODCALLTYPE D3dx_Effect_Base::IsParameterUsed(D3DXHANDLE hParameter, D3DXHANDLE hTechnique) {
    int i = value_index(hParameter);
    int t = technique_index(hTechnique);
    if (i < 0 || i >= parameter_count() || t < 0) return FALSE;
    const std::string& name = values_[i]->name;
    const auto& passes = fx_.passes[t];
    const auto& described = fx_.description.techniques[t].passes;
    for (size_t p = 0; p < passes.size(); ++p) {
        for (const auto& stage : {passes[p].vertex, passes[p].pixel}) {
            if (!stage) continue;
            for (const auto& m : stage->reflection.members)
                if (m.name == name) return TRUE;
        }
        for (const auto& s : passes[p].samplers) {
            if (s.parameter == name) return TRUE;
            int sp = parameter_by_name(s.parameter);
            if (sp >= 0 && values_[sp]->texture == name) return TRUE;
        }
        for (const auto& a : described[p].states)
            if (a.parameter == name) return TRUE;
    }
    return FALSE;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::Begin(UINT* pPasses, DWORD Flags) {
    if (begun_ || fx_.description.techniques.empty()) return D3DERR_INVALIDCALL;
    begun_ = true;
    pass_ = -1;
    if (pPasses) *pPasses = static_cast<UINT>(fx_.description.techniques[technique_].passes.size());
    on_begin(Flags);
    return D3D_OK;
}

int D3dx_Effect_Base::choose_variant(const orvex_fx::Pass& pass) const {
    auto choose = [this](const orvex_fx::Shader_Ref& r) -> int {
        if (r.selector.empty()) return 0;
        int pi = parameter_by_name(r.selector);
        int last = static_cast<int>(r.elements.size()) - 1;
        if (pi < 0 || value(pi).value.empty() || last < 0) return 0;
        const orvex_fx::Parameter& p = value(pi);
        int32_t index = p.type == D3DXPT_FLOAT ? orvex_fx::int_bits(p.value[0].f) : p.value[0].i;
        return std::min(std::max(index, 0), last);
    };
    const int pixel_choices = pass.pixel_shader.selector.empty() ? 1 : static_cast<int>(pass.pixel_shader.elements.size());
    return choose(pass.vertex_shader) * pixel_choices + choose(pass.pixel_shader);
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::BeginPass(UINT Pass) {
    if (!begun_ || pass_ >= 0 || Pass >= fx_.description.techniques[technique_].passes.size())
        return D3DERR_INVALIDCALL;
    pass_ = static_cast<int>(Pass);
    variant_ = choose_variant(fx_.description.techniques[technique_].passes[Pass]);
    on_begin_pass(Pass);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::CommitChanges() {
    if (pass_ < 0) return D3DERR_INVALIDCALL;
    on_commit();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::EndPass() {
    if (pass_ < 0) return D3DERR_INVALIDCALL;
    on_end_pass();
    pass_ = -1;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::End() {
    if (!begun_) return D3DERR_INVALIDCALL;
    if (pass_ >= 0) {
        on_end_pass();
        pass_ = -1;
    }
    on_end();
    begun_ = false;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Effect_Base::GetDevice(LPDIRECT3DDEVICE9* ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    *ppDevice = device_;
    if (device_) device_->AddRef();
    return D3D_OK;
}
