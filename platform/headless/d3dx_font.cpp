#include "d3dx_font.h"

#include "call_log.h"
#include "headless_d3dx_font.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

std::function<bool(const D3DXFONT_DESCA&)>& failure_rule() {
    static std::function<bool(const D3DXFONT_DESCA&)> rule;
    return rule;
}

const struct {
    DWORD flag;
    const char* name;
} flag_names[] = {
    {DT_CENTER, "DT_CENTER"},
    {DT_RIGHT, "DT_RIGHT"},
    {DT_VCENTER, "DT_VCENTER"},
    {DT_BOTTOM, "DT_BOTTOM"},
    {DT_WORDBREAK, "DT_WORDBREAK"},
    {DT_SINGLELINE, "DT_SINGLELINE"},
    {DT_EXPANDTABS, "DT_EXPANDTABS"},
    {DT_TABSTOP, "DT_TABSTOP"},
    {DT_NOCLIP, "DT_NOCLIP"},
    {DT_EXTERNALLEADING, "DT_EXTERNALLEADING"},
    {DT_CALCRECT, "DT_CALCRECT"},
    {DT_NOPREFIX, "DT_NOPREFIX"},
    {DT_INTERNAL, "DT_INTERNAL"},
    {DT_EDITCONTROL, "DT_EDITCONTROL"},
    {DT_PATH_ELLIPSIS, "DT_PATH_ELLIPSIS"},
    {DT_END_ELLIPSIS, "DT_END_ELLIPSIS"},
    {DT_MODIFYSTRING, "DT_MODIFYSTRING"},
    {DT_RTLREADING, "DT_RTLREADING"},
    {DT_WORD_ELLIPSIS, "DT_WORD_ELLIPSIS"},
};

std::string creation_line(const D3DXFONT_DESCA& d) {
    char numbers[160];
    snprintf(numbers, sizeof numbers, "D3DXCreateFontA(%d, %u, %u, %u, %d, %u, %u, %u, %u, \"", d.Height, d.Width,
             d.Weight, d.MipLevels, d.Italic, d.CharSet, d.OutputPrecision, d.Quality, d.PitchAndFamily);
    return numbers + std::string(d.FaceName, strnlen(d.FaceName, LF_FACESIZE)) + "\")";
}

}  // namespace

namespace orvex_headless {

void set_font_creation_failure(std::function<bool(const D3DXFONT_DESCA&)> fails) { failure_rule() = std::move(fails); }

}  // namespace orvex_headless

D3dx_Font* D3dx_Font::create(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc) {
    std::unique_ptr<Glyph_Face> face = open_face(desc);
    if (!face) return nullptr;
    return new D3dx_Font(device, desc, std::move(face));
}

std::string D3dx_Font::format_names(DWORD format) {
    std::string names;
    for (const auto& f : flag_names) {
        if (!(format & f.flag)) continue;
        if (!names.empty()) names += '|';
        names += f.name;
        format &= ~f.flag;
    }
    if (format) {
        char hex[16];
        snprintf(hex, sizeof hex, "0x%X", format);
        if (!names.empty()) names += '|';
        names += hex;
    }
    return names.empty() ? "0" : names;
}

INT STDMETHODCALLTYPE D3dx_Font::DrawTextA(LPD3DXSPRITE, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                                          D3DCOLOR Color) {
    std::string line = "DrawTextA(";
    if (pString) {
        size_t length = Count < 0 ? strlen(pString) : strnlen(pString, static_cast<size_t>(Count));
        line += '"';
        line.append(pString, length);
        line += '"';
    } else {
        line += "null";
    }
    char buffer[96];
    if (pRect)
        snprintf(buffer, sizeof buffer, ", {%d,%d,%d,%d}, ", pRect->left, pRect->top, pRect->right, pRect->bottom);
    else
        snprintf(buffer, sizeof buffer, ", null, ");
    line += buffer;
    line += format_names(Format);
    snprintf(buffer, sizeof buffer, ", 0x%08X)", Color);
    line += buffer;
    orvex_headless::record_call(std::move(line));

    bool draw = false;
    return lay_out(pString, Count, pRect, Format, draw);
}

extern "C" HRESULT WINAPI D3DXCreateFontIndirectA(LPDIRECT3DDEVICE9 pDevice, const D3DXFONT_DESCA* pDesc,
                                                  LPD3DXFONT* ppFont) {
    if (!ppFont) return D3DERR_INVALIDCALL;
    *ppFont = nullptr;
    if (!pDevice || !pDesc) return D3DERR_INVALIDCALL;
    std::string line = creation_line(*pDesc);
    const auto& fails = failure_rule();
    if (!(fails && fails(*pDesc))) *ppFont = D3dx_Font::create(pDevice, *pDesc);
    orvex_headless::record_call(*ppFont ? line : line + " -> failed");
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
