#pragma once
// effect/: ID3DXEffect: the .fx preprocessor, lexer and parser, the state tables, the shader
// compiler and the effect base both realizations derive from.
//
// What both realizations of ID3DXEffect share: the compiled effect, handles, parameter values
// and their conversions, reflection, technique selection and the Begin/BeginPass/EndPass/End
// sequence. The native effect drives the device in the hooks; the headless one records.
//
// Handles are addresses inside a block the effect owns, one byte per parameter, annotation,
// technique and pass, so a handle can never be mistaken for a name and vice versa.
#include <d3dx9.h>

#include <cstdint>
#include <string>
#include <map>
#include <vector>

#include "common/effect/fx_effect_compiler.h"

class D3dx_Effect_Base : public ID3DXEffect {
public:
    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ID3DXBaseEffect
    HRESULT STDMETHODCALLTYPE GetDesc(D3DXEFFECT_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetParameterDesc(D3DXHANDLE hParameter, D3DXPARAMETER_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetTechniqueDesc(D3DXHANDLE hTechnique, D3DXTECHNIQUE_DESC* pDesc) override;
    HRESULT STDMETHODCALLTYPE GetPassDesc(D3DXHANDLE hPass, D3DXPASS_DESC* pDesc) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameter(D3DXHANDLE hParameter, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameterByName(D3DXHANDLE hParameter, LPCSTR pName) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameterBySemantic(D3DXHANDLE hParameter, LPCSTR pSemantic) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameterElement(D3DXHANDLE hParameter, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetTechnique(UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetTechniqueByName(LPCSTR pName) override;
    D3DXHANDLE STDMETHODCALLTYPE GetPass(D3DXHANDLE hTechnique, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetPassByName(D3DXHANDLE hTechnique, LPCSTR pName) override;
    D3DXHANDLE STDMETHODCALLTYPE GetAnnotation(D3DXHANDLE hObject, UINT Index) override;
    D3DXHANDLE STDMETHODCALLTYPE GetAnnotationByName(D3DXHANDLE hObject, LPCSTR pName) override;
    HRESULT STDMETHODCALLTYPE SetValue(D3DXHANDLE hParameter, LPCVOID pData, UINT Bytes) override;
    HRESULT STDMETHODCALLTYPE GetValue(D3DXHANDLE hParameter, LPVOID pData, UINT Bytes) override;
    HRESULT STDMETHODCALLTYPE SetBool(D3DXHANDLE hParameter, BOOL b) override;
    HRESULT STDMETHODCALLTYPE GetBool(D3DXHANDLE hParameter, BOOL* pb) override;
    HRESULT STDMETHODCALLTYPE SetBoolArray(D3DXHANDLE hParameter, CONST BOOL* pb, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetBoolArray(D3DXHANDLE hParameter, BOOL* pb, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetInt(D3DXHANDLE hParameter, INT n) override;
    HRESULT STDMETHODCALLTYPE GetInt(D3DXHANDLE hParameter, INT* pn) override;
    HRESULT STDMETHODCALLTYPE SetIntArray(D3DXHANDLE hParameter, CONST INT* pn, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetIntArray(D3DXHANDLE hParameter, INT* pn, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetFloat(D3DXHANDLE hParameter, FLOAT f) override;
    HRESULT STDMETHODCALLTYPE GetFloat(D3DXHANDLE hParameter, FLOAT* pf) override;
    HRESULT STDMETHODCALLTYPE SetFloatArray(D3DXHANDLE hParameter, CONST FLOAT* pf, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetFloatArray(D3DXHANDLE hParameter, FLOAT* pf, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetVector(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector) override;
    HRESULT STDMETHODCALLTYPE GetVector(D3DXHANDLE hParameter, D3DXVECTOR4* pVector) override;
    HRESULT STDMETHODCALLTYPE SetVectorArray(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetVectorArray(D3DXHANDLE hParameter, D3DXVECTOR4* pVector, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrix(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetMatrix(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetMatrixArray(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix, UINT Count) override;
    HRESULT STDMETHODCALLTYPE GetMatrixArray(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix, UINT Count) override;
    HRESULT STDMETHODCALLTYPE SetMatrixTranspose(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetMatrixTranspose(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetString(D3DXHANDLE hParameter, LPCSTR pString) override;
    HRESULT STDMETHODCALLTYPE GetString(D3DXHANDLE hParameter, LPCSTR* ppString) override;
    HRESULT STDMETHODCALLTYPE SetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9 pTexture) override;
    HRESULT STDMETHODCALLTYPE GetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9* ppTexture) override;

    // ID3DXEffect
    HRESULT STDMETHODCALLTYPE GetPool(LPD3DXEFFECTPOOL* ppPool) override;
    HRESULT STDMETHODCALLTYPE SetTechnique(D3DXHANDLE hTechnique) override;
    D3DXHANDLE STDMETHODCALLTYPE GetCurrentTechnique() override;
    HRESULT STDMETHODCALLTYPE ValidateTechnique(D3DXHANDLE hTechnique) override;
    HRESULT STDMETHODCALLTYPE FindNextValidTechnique(D3DXHANDLE hTechnique, D3DXHANDLE* pTechnique) override;
    BOOL STDMETHODCALLTYPE IsParameterUsed(D3DXHANDLE hParameter, D3DXHANDLE hTechnique) override;
    HRESULT STDMETHODCALLTYPE Begin(UINT* pPasses, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE BeginPass(UINT Pass) override;
    HRESULT STDMETHODCALLTYPE CommitChanges() override;
    HRESULT STDMETHODCALLTYPE EndPass() override;
    HRESULT STDMETHODCALLTYPE End() override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) override;
    HRESULT STDMETHODCALLTYPE OnLostDevice() override { return D3D_OK; }
    HRESULT STDMETHODCALLTYPE OnResetDevice() override { return D3D_OK; }
    HRESULT STDMETHODCALLTYPE SetRawValue(D3DXHANDLE hParameter, LPCVOID pData, UINT ByteOffset, UINT Bytes) override;

protected:
    D3dx_Effect_Base(IDirect3DDevice9* device, orvex_fx::Compiled_Effect&& fx, ID3DXEffectPool* pool);
    virtual ~D3dx_Effect_Base();

    // Called once the sequence checks have passed; what the device sees happens here.
    virtual void on_begin(DWORD flags) = 0;
    virtual void on_begin_pass(UINT pass) = 0;
    virtual void on_commit() = 0;
    virtual void on_end_pass() = 0;
    virtual void on_end() = 0;

    // The parameter (or annotation) a handle or name stands for, -1 for none.
    int value_index(D3DXHANDLE h) const;
    int technique_index(D3DXHANDLE h) const;
    // For records: the name behind a handle or the name itself ("null" for none).
    std::string handle_name(D3DXHANDLE h) const;

    const orvex_fx::Compiled_Effect& compiled() const { return fx_; }
    const orvex_fx::Parameter& value(int index) const { return *values_[index]; }
    int parameter_count() const { return static_cast<int>(fx_.description.parameters.size()); }
    int parameter_by_name(const char* name) const;
    int parameter_by_name(const std::string& name) const { return parameter_by_name(name.c_str()); }
    IDirect3DBaseTexture9* texture(int parameter) const { return textures_[parameter]; }
    int technique() const { return technique_; }
    int pass() const { return pass_; }
    // Which of the pass's compiled variants BeginPass applied: the shader array elements its
    // index parameters named then (clamped to the arrays); 0 for a pass without variants.
    int variant() const { return variant_; }
    // Grows by one whenever a parameter value changes.
    uint64_t version() const { return version_; }

    IDirect3DDevice9* device_;

private:
    enum class Number { Float, Int, Bool };
    HRESULT write(D3DXHANDLE h, const void* data, Number kind, UINT count, UINT first = 0);
    HRESULT read(D3DXHANDLE h, void* data, Number kind, UINT count, UINT first = 0) const;
    int numeric(D3DXHANDLE h) const;

    ULONG references_ = 1;
    orvex_fx::Compiled_Effect fx_;
    ID3DXEffectPool* pool_;
    std::vector<orvex_fx::Parameter*> values_;      // parameters first, then every annotation
    std::vector<int> annotation_owner_;              // per annotation: handle slot of its owner
    std::vector<std::pair<int, int>> pass_slots_;    // per pass slot: technique, pass
    std::vector<IDirect3DBaseTexture9*> textures_;   // per parameter
    std::map<std::string, int, std::less<>> by_name_;  // looked up by const char* without a copy
    std::vector<char> handles_;
    int technique_base_ = 0, pass_base_ = 0;
    int technique_ = 0;
    bool begun_ = false;
    int pass_ = -1;
    int variant_ = 0;
    int choose_variant(const orvex_fx::Pass& pass) const;
    uint64_t version_ = 1;

    D3DXHANDLE handle(int slot) const { return slot < 0 ? nullptr : &handles_[static_cast<size_t>(slot)]; }
    int slot(D3DXHANDLE h) const;
};
