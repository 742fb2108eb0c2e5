#pragma once
// D3DX 9 effects: an effect file (HLSL with global parameters, textures, samplers and
// technique/pass blocks) compiled for a device, its parameters reached by name or handle.
//
// Handles. A D3DXHANDLE is either a name (a plain C string: "View_Pos", "vor_Phong") or a handle
// handed out by GetParameterByName / GetTechniqueByName / GetParameter / GetTechnique / GetPass
// of the same effect. Both forms are accepted everywhere a handle is taken. A handle handed out
// by an effect stays valid for the life of that effect.
//
// Parameters. Set* stores the value in the effect; the device sees it when a pass begins
// (BeginPass) or on CommitChanges inside a pass. Setting a parameter the effect lacks fails with
// D3DERR_INVALIDCALL and changes nothing. Values are converted between bool, int and float
// components; a shorter value fills the first components (SetVector on a float3 sets x y z, and
// on a float its x), a longer one is cut. Get* returns what was set last, or the file's
// initialiser, or zeros.
//
// Drawing. SetTechnique selects a technique (an unknown one fails and keeps the current one).
// Begin(&passes, flags) starts it and reports its pass count; unless flags say
// D3DXFX_DONOTSAVESTATE it saves every device state the technique's passes assign, and End
// restores them. BeginPass(i) applies pass i's render and sampler states, its shaders and the
// parameters; EndPass ends it. A sampler that names no texture, or whose texture parameter is
// null, reads whatever texture the device has on the stage of its register.
#include <d3d9.h>
#include "d3dx9math.h"
#include "d3dx9core.h"

struct IDirect3DDevice9;
struct IDirect3DBaseTexture9;
struct ID3DXBuffer;
struct D3DXMATRIX;
struct D3DXVECTOR4;
typedef struct IDirect3DDevice9* LPDIRECT3DDEVICE9;
typedef struct IDirect3DBaseTexture9* LPDIRECT3DBASETEXTURE9;
typedef struct ID3DXBuffer* LPD3DXBUFFER;

typedef LPCSTR D3DXHANDLE;
typedef D3DXHANDLE* LPD3DXHANDLE;

// A preprocessor definition; an array of them ends with { NULL, NULL }.
typedef struct _D3DXMACRO {
    LPCSTR Name;
    LPCSTR Definition;
} D3DXMACRO, *LPD3DXMACRO;

typedef enum _D3DXINCLUDE_TYPE {
    D3DXINC_LOCAL = 0,
    D3DXINC_SYSTEM = 1,
    D3DXINC_FORCE_DWORD = 0x7fffffff
} D3DXINCLUDE_TYPE, *LPD3DXINCLUDE_TYPE;

// A caller's handler for #include: Open hands back the included file's text, Close releases it.
struct ID3DXInclude {
    virtual HRESULT STDMETHODCALLTYPE Open(D3DXINCLUDE_TYPE IncludeType, LPCSTR pFileName,
                                           LPCVOID pParentData, LPCVOID* ppData, UINT* pBytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE Close(LPCVOID pData) = 0;
};
typedef struct ID3DXInclude* LPD3DXINCLUDE;

// Effect creation flags (D3DXFX_*) and the shader compiler flags (D3DXSHADER_*) they may carry.
#define D3DXFX_DONOTSAVESTATE (1 << 0)
#define D3DXFX_DONOTSAVESHADERSTATE (1 << 1)
#define D3DXFX_DONOTSAVESAMPLERSTATE (1 << 2)
#define D3DXFX_NOT_CLONEABLE (1 << 11)
#define D3DXFX_LARGEADDRESSAWARE (1 << 17)

#define D3DXSHADER_DEBUG (1 << 0)
#define D3DXSHADER_SKIPVALIDATION (1 << 1)
#define D3DXSHADER_SKIPOPTIMIZATION (1 << 2)
#define D3DXSHADER_PACKMATRIX_ROWMAJOR (1 << 3)
#define D3DXSHADER_PACKMATRIX_COLUMNMAJOR (1 << 4)
#define D3DXSHADER_PARTIALPRECISION (1 << 5)
#define D3DXSHADER_NO_PRESHADER (1 << 8)
#define D3DXSHADER_AVOID_FLOW_CONTROL (1 << 9)
#define D3DXSHADER_PREFER_FLOW_CONTROL (1 << 10)
#define D3DXSHADER_ENABLE_BACKWARDS_COMPATIBILITY (1 << 12)
#define D3DXSHADER_IEEE_STRICTNESS (1 << 13)
#define D3DXSHADER_OPTIMIZATION_LEVEL0 (1 << 14)
#define D3DXSHADER_OPTIMIZATION_LEVEL1 0
#define D3DXSHADER_OPTIMIZATION_LEVEL2 ((1 << 14) | (1 << 15))
#define D3DXSHADER_OPTIMIZATION_LEVEL3 (1 << 15)

// D3DXPARAMETER_DESC::Flags
#define D3DX_PARAMETER_SHARED (1 << 0)
#define D3DX_PARAMETER_LITERAL (1 << 1)
#define D3DX_PARAMETER_ANNOTATION (1 << 2)

typedef enum _D3DXPARAMETER_CLASS {
    D3DXPC_SCALAR = 0,
    D3DXPC_VECTOR = 1,
    D3DXPC_MATRIX_ROWS = 2,
    D3DXPC_MATRIX_COLUMNS = 3,
    D3DXPC_OBJECT = 4,
    D3DXPC_STRUCT = 5,
    D3DXPC_FORCE_DWORD = 0x7fffffff
} D3DXPARAMETER_CLASS, *LPD3DXPARAMETER_CLASS;

typedef enum _D3DXPARAMETER_TYPE {
    D3DXPT_VOID = 0,
    D3DXPT_BOOL = 1,
    D3DXPT_INT = 2,
    D3DXPT_FLOAT = 3,
    D3DXPT_STRING = 4,
    D3DXPT_TEXTURE = 5,
    D3DXPT_TEXTURE1D = 6,
    D3DXPT_TEXTURE2D = 7,
    D3DXPT_TEXTURE3D = 8,
    D3DXPT_TEXTURECUBE = 9,
    D3DXPT_SAMPLER = 10,
    D3DXPT_SAMPLER1D = 11,
    D3DXPT_SAMPLER2D = 12,
    D3DXPT_SAMPLER3D = 13,
    D3DXPT_SAMPLERCUBE = 14,
    D3DXPT_PIXELSHADER = 15,
    D3DXPT_VERTEXSHADER = 16,
    D3DXPT_PIXELFRAGMENT = 17,
    D3DXPT_VERTEXFRAGMENT = 18,
    D3DXPT_UNSUPPORTED = 19,
    D3DXPT_FORCE_DWORD = 0x7fffffff
} D3DXPARAMETER_TYPE, *LPD3DXPARAMETER_TYPE;

typedef struct _D3DXEFFECT_DESC {
    LPCSTR Creator;
    UINT Parameters;
    UINT Techniques;
    UINT Functions;
} D3DXEFFECT_DESC;

typedef struct _D3DXPARAMETER_DESC {
    LPCSTR Name;
    LPCSTR Semantic;
    D3DXPARAMETER_CLASS Class;
    D3DXPARAMETER_TYPE Type;
    UINT Rows;
    UINT Columns;
    UINT Elements;
    UINT Annotations;
    UINT StructMembers;
    DWORD Flags;
    UINT Bytes;
} D3DXPARAMETER_DESC;

typedef struct _D3DXTECHNIQUE_DESC {
    LPCSTR Name;
    UINT Passes;
    UINT Annotations;
} D3DXTECHNIQUE_DESC;

typedef struct _D3DXPASS_DESC {
    LPCSTR Name;
    UINT Annotations;
    CONST DWORD* pVertexShaderFunction;
    CONST DWORD* pPixelShaderFunction;
} D3DXPASS_DESC;

// Effects created with the same pool share the parameters they declare `shared`.
struct ID3DXEffectPool : public IUnknown {
};
typedef struct ID3DXEffectPool* LPD3DXEFFECTPOOL;

// Reflection and parameter values: what every effect offers.
struct ID3DXBaseEffect : public IUnknown {
    // Descriptions. Names returned stay valid for the life of the effect.
    virtual HRESULT STDMETHODCALLTYPE GetDesc(D3DXEFFECT_DESC* pDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetParameterDesc(D3DXHANDLE hParameter, D3DXPARAMETER_DESC* pDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTechniqueDesc(D3DXHANDLE hTechnique, D3DXTECHNIQUE_DESC* pDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPassDesc(D3DXHANDLE hPass, D3DXPASS_DESC* pDesc) = 0;

    // Handles: NULL when there is no such item. hParameter NULL means the effect's top level;
    // a parameter handle there looks inside that struct (members) or for its annotations.
    virtual D3DXHANDLE STDMETHODCALLTYPE GetParameter(D3DXHANDLE hParameter, UINT Index) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetParameterByName(D3DXHANDLE hParameter, LPCSTR pName) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetParameterBySemantic(D3DXHANDLE hParameter, LPCSTR pSemantic) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetParameterElement(D3DXHANDLE hParameter, UINT Index) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetTechnique(UINT Index) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetTechniqueByName(LPCSTR pName) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetPass(D3DXHANDLE hTechnique, UINT Index) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetPassByName(D3DXHANDLE hTechnique, LPCSTR pName) = 0;
    // hObject: a parameter, technique or pass.
    virtual D3DXHANDLE STDMETHODCALLTYPE GetAnnotation(D3DXHANDLE hObject, UINT Index) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetAnnotationByName(D3DXHANDLE hObject, LPCSTR pName) = 0;

    // Values. SetValue/GetValue copy raw bytes (at most the parameter's size).
    virtual HRESULT STDMETHODCALLTYPE SetValue(D3DXHANDLE hParameter, LPCVOID pData, UINT Bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetValue(D3DXHANDLE hParameter, LPVOID pData, UINT Bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBool(D3DXHANDLE hParameter, BOOL b) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBool(D3DXHANDLE hParameter, BOOL* pb) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBoolArray(D3DXHANDLE hParameter, CONST BOOL* pb, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoolArray(D3DXHANDLE hParameter, BOOL* pb, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetInt(D3DXHANDLE hParameter, INT n) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInt(D3DXHANDLE hParameter, INT* pn) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIntArray(D3DXHANDLE hParameter, CONST INT* pn, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIntArray(D3DXHANDLE hParameter, INT* pn, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFloat(D3DXHANDLE hParameter, FLOAT f) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFloat(D3DXHANDLE hParameter, FLOAT* pf) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFloatArray(D3DXHANDLE hParameter, CONST FLOAT* pf, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFloatArray(D3DXHANDLE hParameter, FLOAT* pf, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVector(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVector(D3DXHANDLE hParameter, D3DXVECTOR4* pVector) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVectorArray(D3DXHANDLE hParameter, CONST D3DXVECTOR4* pVector, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVectorArray(D3DXHANDLE hParameter, D3DXVECTOR4* pVector, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrix(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMatrix(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixArray(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMatrixArray(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixTranspose(D3DXHANDLE hParameter, CONST D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMatrixTranspose(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetString(D3DXHANDLE hParameter, LPCSTR pString) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetString(D3DXHANDLE hParameter, LPCSTR* ppString) = 0;
    // The effect holds a reference to the texture until another is set or the effect is released.
    virtual HRESULT STDMETHODCALLTYPE SetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9 pTexture) = 0;
    // Adds a reference to the texture handed back (null when none is set).
    virtual HRESULT STDMETHODCALLTYPE GetTexture(D3DXHANDLE hParameter, LPDIRECT3DBASETEXTURE9* ppTexture) = 0;
};
typedef struct ID3DXBaseEffect* LPD3DXBASEEFFECT;

// An effect bound to a device: techniques, passes and the device state they set.
struct ID3DXEffect : public ID3DXBaseEffect {
    // The pool given at creation, with a reference added (null when none was given).
    virtual HRESULT STDMETHODCALLTYPE GetPool(LPD3DXEFFECTPOOL* ppPool) = 0;
    // Selects a technique by handle or name. An unknown one fails and keeps the current one.
    // A new effect starts on its first technique.
    virtual HRESULT STDMETHODCALLTYPE SetTechnique(D3DXHANDLE hTechnique) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetCurrentTechnique() = 0;
    virtual HRESULT STDMETHODCALLTYPE ValidateTechnique(D3DXHANDLE hTechnique) = 0;
    // The first valid technique after hTechnique (NULL: from the start).
    virtual HRESULT STDMETHODCALLTYPE FindNextValidTechnique(D3DXHANDLE hTechnique, D3DXHANDLE* pTechnique) = 0;
    // TRUE when a pass of the technique reads the parameter.
    virtual BOOL STDMETHODCALLTYPE IsParameterUsed(D3DXHANDLE hParameter, D3DXHANDLE hTechnique) = 0;

    // Starts the current technique: *pPasses receives its pass count. Flags: D3DXFX_DONOTSAVE*.
    virtual HRESULT STDMETHODCALLTYPE Begin(UINT* pPasses, DWORD Flags) = 0;
    // Applies pass Pass (0-based) to the device: states, shaders, parameters.
    virtual HRESULT STDMETHODCALLTYPE BeginPass(UINT Pass) = 0;
    // Within a pass: sends parameters set since BeginPass to the device.
    virtual HRESULT STDMETHODCALLTYPE CommitChanges() = 0;
    virtual HRESULT STDMETHODCALLTYPE EndPass() = 0;
    // Ends the technique; restores the states Begin saved.
    virtual HRESULT STDMETHODCALLTYPE End() = 0;

    // The device the effect was created on, with a reference added.
    virtual HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnLostDevice() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnResetDevice() = 0;
    // Copies Bytes bytes into a parameter's storage starting ByteOffset bytes in.
    virtual HRESULT STDMETHODCALLTYPE SetRawValue(D3DXHANDLE hParameter, LPCVOID pData, UINT ByteOffset, UINT Bytes) = 0;
};
typedef struct ID3DXEffect* LPD3DXEFFECT;

extern "C" {

// Reads, preprocesses and compiles the effect file pSrcFile for pDevice.
//   pDefines: macros, ended by { NULL, NULL }, or NULL.  pInclude: #include handler, or NULL
//   to read included files relative to the including file.  Flags: D3DXSHADER_* / D3DXFX_*.
//   pPool: shares `shared` parameters, or NULL.  *ppEffect: the new effect (reference count 1).
//   ppCompilationErrors: when not NULL, receives a buffer with the compiler's messages as a
//   NUL-terminated string (or NULL when there are none).
// Results:
//   D3D_OK               created
//   D3DERR_INVALIDCALL   a null device, path or out-pointer
//   D3DXERR_INVALIDDATA  the file is missing or unreadable, or does not compile
//   E_OUTOFMEMORY        out of memory
// *ppEffect is left NULL on failure. A pool is accepted and held but shares nothing yet.
HRESULT WINAPI D3DXCreateEffectFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                         CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude,
                                         DWORD Flags, LPD3DXEFFECTPOOL pPool,
                                         LPD3DXEFFECT* ppEffect, LPD3DXBUFFER* ppCompilationErrors);
// The same with a WCHAR file name (converted to UTF-8, the file system's encoding).
HRESULT WINAPI D3DXCreateEffectFromFileW(LPDIRECT3DDEVICE9 pDevice, LPCWSTR pSrcFile,
                                         CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude,
                                         DWORD Flags, LPD3DXEFFECTPOOL pPool,
                                         LPD3DXEFFECT* ppEffect, LPD3DXBUFFER* ppCompilationErrors);
#ifdef UNICODE
#define D3DXCreateEffectFromFile D3DXCreateEffectFromFileW
#else
#define D3DXCreateEffectFromFile D3DXCreateEffectFromFileA
#endif

// Compiles an effect held in memory (pSrcData, SrcDataLen bytes); #include is relative to the
// working directory. Otherwise as D3DXCreateEffectFromFileA.
HRESULT WINAPI D3DXCreateEffect(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData, UINT SrcDataLen,
                                CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                LPD3DXBUFFER* ppCompilationErrors);

}  // extern "C"
