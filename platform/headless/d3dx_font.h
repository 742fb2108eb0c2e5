#pragma once
// The headless ID3DXFont: measures as the native font does, records instead of drawing (the
// record's format is in headless_d3dx_font.h).
#include "common/text/font_base.h"

#include <string>

class D3dx_Font final : public Font_Base {
public:
    // Null when no face can be opened.
    static D3dx_Font* create(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc);

    INT STDMETHODCALLTYPE DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                                    D3DCOLOR Color) override;
    HRESULT STDMETHODCALLTYPE OnLostDevice() override { return D3D_OK; }
    HRESULT STDMETHODCALLTYPE OnResetDevice() override { return D3D_OK; }

    // "DT_RIGHT|DT_EXPANDTABS", "0", "DT_NOCLIP|0x80000000".
    static std::string format_names(DWORD format);

private:
    using Font_Base::Font_Base;
};
