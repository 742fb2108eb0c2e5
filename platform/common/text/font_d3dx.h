#pragma once
// The font that draws: glyph pages kept in A8R8G8B8 textures (white, coverage in alpha), text
// drawn as pre-transformed, alpha-blended quads with DrawPrimitiveUP, through nothing but the
// device's public interface. Every device state DrawTextA changes is read first and put back.
#include "common/text/font_base.h"

#include <vector>

class Font_D3dx final : public Font_Base {
public:
    // Null when no face can be opened.
    static Font_D3dx* create(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc);

    INT STDMETHODCALLTYPE DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                                    D3DCOLOR Color) override;
    HRESULT STDMETHODCALLTYPE OnLostDevice() override;
    HRESULT STDMETHODCALLTYPE OnResetDevice() override;

private:
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
        float u, v;
    };

    using Font_Base::Font_Base;
    ~Font_D3dx() override;

    bool upload_pages();
    void draw_quads(D3DCOLOR colour);

    std::vector<IDirect3DTexture9*> pages;
    std::vector<Vertex> vertices;
};
