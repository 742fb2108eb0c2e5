// D3DXCreateFontA on the native platform: a font that draws through the device.
#include "common/text/font_d3dx.h"

extern "C" HRESULT WINAPI D3DXCreateFontIndirectA(LPDIRECT3DDEVICE9 pDevice, const D3DXFONT_DESCA* pDesc,
                                                  LPD3DXFONT* ppFont) {
    if (!ppFont) return D3DERR_INVALIDCALL;
    *ppFont = nullptr;
    if (!pDevice || !pDesc) return D3DERR_INVALIDCALL;
    *ppFont = Font_D3dx::create(pDevice, *pDesc);
    return *ppFont ? D3D_OK : E_FAIL;
}

extern "C" HRESULT WINAPI D3DXCreateFontA(LPDIRECT3DDEVICE9 pDevice, INT Height, UINT Width, UINT Weight,
                                          UINT MipLevels, BOOL Italic, DWORD CharSet, DWORD OutputPrecision,
                                          DWORD Quality, DWORD PitchAndFamily, LPCSTR pFaceName,
                                          LPD3DXFONT* ppFont) {
    if (ppFont) *ppFont = nullptr;
    if (!pFaceName) return D3DERR_INVALIDCALL;
    D3DXFONT_DESCA desc = Font_Base::describe(Height, Width, Weight, MipLevels, Italic, CharSet, OutputPrecision,
                                              Quality, PitchAndFamily, pFaceName);
    return D3DXCreateFontIndirectA(pDevice, &desc, ppFont);
}
