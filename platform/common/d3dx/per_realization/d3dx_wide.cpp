// The W entry points of D3DX: each converts its text once (win32_text.h) and goes on as its A
// function, so both realizations have them.
#include <d3dx9.h>

#include <stddef.h>
#include <string.h>
#include <wchar.h>

#include <algorithm>

#include "common/text/win32_text.h"

HRESULT WINAPI D3DXCreateTextureFromFileW(IDirect3DDevice9* pDevice, LPCWSTR pSrcFile, IDirect3DTexture9** ppTexture)
{
    return D3DXCreateTextureFromFileA(pDevice, Win32_Narrow(pSrcFile, Win32_Narrow_Kind::Path), ppTexture);
}

HRESULT WINAPI D3DXLoadMeshFromXW(LPCWSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  ID3DXBuffer** ppAdjacency, ID3DXBuffer** ppMaterials,
                                  ID3DXBuffer** ppEffectInstances, DWORD* pNumMaterials, ID3DXMesh** ppMesh)
{
    return D3DXLoadMeshFromXA(Win32_Narrow(pFilename, Win32_Narrow_Kind::Path), Options, pD3DDevice, ppAdjacency,
                              ppMaterials, ppEffectInstances, pNumMaterials, ppMesh);
}

extern "C" {

HRESULT WINAPI D3DXCreateEffectFromFileW(LPDIRECT3DDEVICE9 pDevice, LPCWSTR pSrcFile, CONST D3DXMACRO* pDefines,
                                         LPD3DXINCLUDE pInclude, DWORD Flags, LPD3DXEFFECTPOOL pPool,
                                         LPD3DXEFFECT* ppEffect, LPD3DXBUFFER* ppCompilationErrors)
{
    return D3DXCreateEffectFromFileA(pDevice, Win32_Narrow(pSrcFile, Win32_Narrow_Kind::Path), pDefines, pInclude,
                                     Flags, pPool, ppEffect, ppCompilationErrors);
}

HRESULT WINAPI D3DXCreateFontW(LPDIRECT3DDEVICE9 pDevice, INT Height, UINT Width, UINT Weight, UINT MipLevels,
                               BOOL Italic, DWORD CharSet, DWORD OutputPrecision, DWORD Quality,
                               DWORD PitchAndFamily, LPCWSTR pFaceName, LPD3DXFONT* ppFont)
{
    return D3DXCreateFontA(pDevice, Height, Width, Weight, MipLevels, Italic, CharSet, OutputPrecision, Quality,
                           PitchAndFamily, Win32_Narrow(pFaceName), ppFont);
}

HRESULT WINAPI D3DXCreateFontIndirectW(LPDIRECT3DDEVICE9 pDevice, const D3DXFONT_DESCW* pDesc, LPD3DXFONT* ppFont)
{
    if (!pDesc) return D3DXCreateFontIndirectA(pDevice, nullptr, ppFont);
    D3DXFONT_DESCA narrow;
    memcpy(&narrow, pDesc, offsetof(D3DXFONT_DESCA, FaceName));
    std::string face = win32_text::ansi_from_wide(pDesc->FaceName, wcsnlen(pDesc->FaceName, LF_FACESIZE));
    memset(narrow.FaceName, 0, sizeof narrow.FaceName);
    memcpy(narrow.FaceName, face.data(), std::min(face.size(), sizeof narrow.FaceName - 1));
    return D3DXCreateFontIndirectA(pDevice, &narrow, ppFont);
}

}  // extern "C"
