#pragma once
// What every ID3DXFont of ours shares, whatever it draws with: reference counting, the device
// reference, the description, the glyph cache and the layout of DrawTextA's text. A realization
// supplies DrawTextA (calling lay_out) and the device-reset pair.
#include "common/text/font_layout.h"
#include "common/text/glyph_cache.h"

#include <d3dx9core.h>

class Font_Base : public ID3DXFont {
public:
    // D3DXCreateFontA's arguments as a description (the face name cut to LF_FACESIZE - 1 bytes).
    static D3DXFONT_DESCA describe(INT height, UINT width, UINT weight, UINT mip_levels, BOOL italic,
                                   DWORD char_set, DWORD output_precision, DWORD quality,
                                   DWORD pitch_and_family, LPCSTR face_name);
    // The face a description asks for; null when none can be opened.
    static std::unique_ptr<Glyph_Face> open_face(const D3DXFONT_DESCA& desc);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, LPVOID* ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) override;
    HRESULT STDMETHODCALLTYPE GetDescA(D3DXFONT_DESCA* pDesc) override;
    HRESULT STDMETHODCALLTYPE PreloadCharacters(UINT First, UINT Last) override;
    HRESULT STDMETHODCALLTYPE PreloadTextA(LPCSTR pString, INT Count) override;
    HRESULT STDMETHODCALLTYPE GetDescW(D3DXFONT_DESCW* pDesc) override;
    HRESULT STDMETHODCALLTYPE PreloadTextW(LPCWSTR pString, INT Count) override;
    INT STDMETHODCALLTYPE DrawTextW(LPD3DXSPRITE pSprite, LPCWSTR pString, INT Count, LPRECT pRect, DWORD Format,
                                    D3DCOLOR Color) override;

    Glyph_Cache& glyphs() { return cache; }

protected:
    // Takes a reference to device.
    Font_Base(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc, std::unique_ptr<Glyph_Face> face);
    virtual ~Font_Base();

    // Lays out a DrawTextA call: answers its result (the text's height), and whether glyphs in
    // layout.quads() are to be drawn. DT_CALCRECT writes the extent to rect and draws nothing.
    // A null rect is an empty one at (0, 0) with DT_NOCLIP.
    int lay_out(LPCSTR text, INT count, LPRECT rect, DWORD format, bool& draw);

    IDirect3DDevice9* device;
    D3DXFONT_DESCA desc;
    Glyph_Cache cache;
    Font_Layout layout;

private:
    ULONG refs = 1;
};
