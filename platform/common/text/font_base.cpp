#include "common/text/font_base.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwchar>

#include "common/text/win32_text.h"

D3DXFONT_DESCA Font_Base::describe(INT height, UINT width, UINT weight, UINT mip_levels, BOOL italic,
                                   DWORD char_set, DWORD output_precision, DWORD quality,
                                   DWORD pitch_and_family, LPCSTR face_name) {
    D3DXFONT_DESCA desc;
    memset(&desc, 0, sizeof desc);
    desc.Height = height;
    desc.Width = width;
    desc.Weight = weight;
    desc.MipLevels = mip_levels;
    desc.Italic = italic;
    desc.CharSet = static_cast<BYTE>(char_set);
    desc.OutputPrecision = static_cast<BYTE>(output_precision);
    desc.Quality = static_cast<BYTE>(quality);
    desc.PitchAndFamily = static_cast<BYTE>(pitch_and_family);
    if (face_name) strncpy(desc.FaceName, face_name, LF_FACESIZE - 1);
    return desc;
}

std::unique_ptr<Glyph_Face> Font_Base::open_face(const D3DXFONT_DESCA& desc) {
    Glyph_Request request;
    request.face_name.assign(desc.FaceName, strnlen(desc.FaceName, LF_FACESIZE));
    request.height = desc.Height;
    request.width = desc.Width;
    request.weight = desc.Weight;
    request.italic = desc.Italic != FALSE;
    request.antialiased = desc.Quality != NONANTIALIASED_QUALITY;
    request.pitch_and_family = desc.PitchAndFamily;
    return Glyph_Face::open(request);
}

Font_Base::Font_Base(IDirect3DDevice9* d, const D3DXFONT_DESCA& description, std::unique_ptr<Glyph_Face> face)
    : device(d), desc(description), cache(std::move(face)) {
    device->AddRef();
}

Font_Base::~Font_Base() { device->Release(); }

HRESULT STDMETHODCALLTYPE Font_Base::QueryInterface(REFIID iid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    static const IID iid_unknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
    if (iid == IID_ID3DXFont || iid == iid_unknown) {
        AddRef();
        *ppv = static_cast<ID3DXFont*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE Font_Base::AddRef() { return ++refs; }

ULONG STDMETHODCALLTYPE Font_Base::Release() {
    ULONG left = --refs;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE Font_Base::GetDevice(LPDIRECT3DDEVICE9* ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    device->AddRef();
    *ppDevice = device;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE Font_Base::GetDescA(D3DXFONT_DESCA* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE Font_Base::PreloadCharacters(UINT First, UINT Last) {
    for (UINT c = First; c <= std::min(Last, 255u); ++c) cache.get(static_cast<unsigned char>(c));
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE Font_Base::PreloadTextA(LPCSTR pString, INT Count) {
    if (!pString) return D3DERR_INVALIDCALL;
    size_t length = Count < 0 ? strlen(pString) : strnlen(pString, static_cast<size_t>(Count));
    for (size_t i = 0; i < length; ++i) cache.get(static_cast<unsigned char>(pString[i]));
    return D3D_OK;
}

namespace {

std::string narrow_text(LPCWSTR text, INT count) {
    size_t length = count < 0 ? wcslen(text) : wcsnlen(text, static_cast<size_t>(count));
    return win32_text::ansi_from_wide(text, length);
}

}  // namespace

HRESULT STDMETHODCALLTYPE Font_Base::GetDescW(D3DXFONT_DESCW* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    memcpy(pDesc, &desc, offsetof(D3DXFONT_DESCW, FaceName));
    std::wstring face = win32_text::wide_from_ansi(desc.FaceName, strnlen(desc.FaceName, LF_FACESIZE - 1));
    wcsncpy(pDesc->FaceName, face.c_str(), LF_FACESIZE);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE Font_Base::PreloadTextW(LPCWSTR pString, INT Count) {
    if (!pString) return D3DERR_INVALIDCALL;
    std::string text = narrow_text(pString, Count);
    return PreloadTextA(text.c_str(), static_cast<INT>(text.size()));
}

INT STDMETHODCALLTYPE Font_Base::DrawTextW(LPD3DXSPRITE pSprite, LPCWSTR pString, INT Count, LPRECT pRect,
                                           DWORD Format, D3DCOLOR Color) {
    if (!pString) return DrawTextA(pSprite, nullptr, Count, pRect, Format, Color);
    std::string text = narrow_text(pString, Count);
    return DrawTextA(pSprite, text.c_str(), static_cast<INT>(text.size()), pRect, Format, Color);
}

int Font_Base::lay_out(LPCSTR text, INT count, LPRECT rect, DWORD format, bool& draw) {
    draw = false;
    RECT where = rect ? *rect : RECT{0, 0, 0, 0};
    if (!rect) format |= DT_NOCLIP;
    int height = layout.lay_out(cache, text, count, where, format);
    if (format & DT_CALCRECT) {
        if (rect && height > 0) *rect = layout.extent();
        return height;
    }
    draw = !layout.quads().empty();
    return height;
}
