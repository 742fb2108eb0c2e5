#pragma once
// D3DX core: memory buffers (ID3DXBuffer) and fonts (ID3DXFont), with the text-drawing and font
// constants that go with them.
//
// Buffers: D3DXCreateBuffer gives a zero-filled block of the size asked for; the caller owns one
// reference. Effects and meshes hand back their compiler messages and materials in buffers.
//
// Fonts: D3DXCreateFontA finds the installed face closest to the name asked for, at the weight
// asked for. Height < 0 is the character (em) height in pixels, > 0 the cell height (ascent +
// descent), 0 a 16-pixel em; heights are capped at 512 pixels. DrawTextA takes code page 1251
// text, draws it with alpha blending through the device's public interface (a texture of cached
// glyphs and pre-transformed quads) and puts back every device state it changed. It returns the
// height of the text drawn (lines x cell height), 0 for empty text or on failure.
#include <d3d9.h>

// ---- GDI constants used by fonts and text drawing (the SDK declares them in <windows.h>) ----

#ifndef LF_FACESIZE
#define LF_FACESIZE 32
#endif

#ifndef DT_TOP
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000
#define DT_RTLREADING 0x00020000
#define DT_WORD_ELLIPSIS 0x00040000
#endif

#ifndef FW_DONTCARE
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_ULTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_DEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_ULTRABOLD 800
#define FW_HEAVY 900
#define FW_BLACK 900
#endif

#ifndef DEFAULT_CHARSET
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define MAC_CHARSET 77
#define SHIFTJIS_CHARSET 128
#define HANGUL_CHARSET 129
#define JOHAB_CHARSET 130
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define GREEK_CHARSET 161
#define TURKISH_CHARSET 162
#define VIETNAMESE_CHARSET 163
#define HEBREW_CHARSET 177
#define ARABIC_CHARSET 178
#define BALTIC_CHARSET 186
#define RUSSIAN_CHARSET 204
#define THAI_CHARSET 222
#define EASTEUROPE_CHARSET 238
#define OEM_CHARSET 255
#endif

#ifndef OUT_DEFAULT_PRECIS
#define OUT_DEFAULT_PRECIS 0
#define OUT_STRING_PRECIS 1
#define OUT_CHARACTER_PRECIS 2
#define OUT_STROKE_PRECIS 3
#define OUT_TT_PRECIS 4
#define OUT_DEVICE_PRECIS 5
#define OUT_RASTER_PRECIS 6
#define OUT_TT_ONLY_PRECIS 7
#define OUT_OUTLINE_PRECIS 8
#endif

#ifndef DEFAULT_QUALITY
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#endif

#ifndef DEFAULT_PITCH
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50
#endif

// ---- Interface ids ----

#ifdef __cplusplus
static const IID IID_ID3DXBuffer = {0x8ba5fb08, 0x5195, 0x40e2, {0xac, 0x58, 0x0d, 0x98, 0x9c, 0x3a, 0x01, 0x02}};
static const IID IID_ID3DXFont = {0xd79dbb70, 0x5f21, 0x4d36, {0xbb, 0xc2, 0xff, 0x52, 0x5c, 0x21, 0x3c, 0xdc}};

// ---- ID3DXBuffer ----

// A block of memory owned by reference count. The pointer stays valid until the last Release.
DECLARE_INTERFACE_(ID3DXBuffer, IUnknown) {
    STDMETHOD(QueryInterface)(THIS_ REFIID iid, LPVOID* ppv) PURE;
    STDMETHOD_(ULONG, AddRef)(THIS) PURE;
    STDMETHOD_(ULONG, Release)(THIS) PURE;

    STDMETHOD_(LPVOID, GetBufferPointer)(THIS) PURE;
    STDMETHOD_(DWORD, GetBufferSize)(THIS) PURE;
};
typedef ID3DXBuffer* LPD3DXBUFFER;

// ---- ID3DXSprite: declared only; every caller passes null where a sprite may be given ----

struct ID3DXSprite;
typedef ID3DXSprite* LPD3DXSPRITE;

// ---- ID3DXFont ----

typedef struct _D3DXFONT_DESCA {
    INT Height;
    UINT Width;
    UINT Weight;
    UINT MipLevels;
    BOOL Italic;
    BYTE CharSet;
    BYTE OutputPrecision;
    BYTE Quality;
    BYTE PitchAndFamily;
    CHAR FaceName[LF_FACESIZE];
} D3DXFONT_DESCA, *LPD3DXFONT_DESCA;
// The same with a WCHAR face name (converted to code page 1251 by D3DXCreateFontIndirectW).
typedef struct _D3DXFONT_DESCW {
    INT Height;
    UINT Width;
    UINT Weight;
    UINT MipLevels;
    BOOL Italic;
    BYTE CharSet;
    BYTE OutputPrecision;
    BYTE Quality;
    BYTE PitchAndFamily;
    WCHAR FaceName[LF_FACESIZE];
} D3DXFONT_DESCW, *LPD3DXFONT_DESCW;
#ifdef UNICODE
typedef D3DXFONT_DESCW D3DXFONT_DESC;
typedef LPD3DXFONT_DESCW LPD3DXFONT_DESC;
#else
typedef D3DXFONT_DESCA D3DXFONT_DESC;
typedef LPD3DXFONT_DESCA LPD3DXFONT_DESC;
#endif

DECLARE_INTERFACE_(ID3DXFont, IUnknown) {
    STDMETHOD(QueryInterface)(THIS_ REFIID iid, LPVOID* ppv) PURE;
    STDMETHOD_(ULONG, AddRef)(THIS) PURE;
    STDMETHOD_(ULONG, Release)(THIS) PURE;

    // The device the font draws on, with one reference added for the caller.
    STDMETHOD(GetDevice)(THIS_ LPDIRECT3DDEVICE9* ppDevice) PURE;
    // The description the font was created with; FaceName is the name asked for, cut to 31 bytes.
    STDMETHOD(GetDescA)(THIS_ D3DXFONT_DESCA* pDesc) PURE;
    // The description with the face name as WCHAR text.
    STDMETHOD(GetDescW)(THIS_ D3DXFONT_DESCW* pDesc) PURE;
    // Rasterises the characters First..Last (code page 1251 bytes) into the glyph cache.
    STDMETHOD(PreloadCharacters)(THIS_ UINT First, UINT Last) PURE;
    // Rasterises the characters of a code page 1251 string into the glyph cache.
    STDMETHOD(PreloadTextA)(THIS_ LPCSTR pString, INT Count) PURE;
    // The same for WCHAR text (Count in characters), converted to code page 1251.
    STDMETHOD(PreloadTextW)(THIS_ LPCWSTR pString, INT Count) PURE;
    // Draws Count bytes of pString (all of it up to its NUL when Count < 0) in pRect with the
    // format flags (DT_LEFT/DT_CENTER/DT_RIGHT, DT_TOP/DT_VCENTER/DT_BOTTOM, DT_SINGLELINE,
    // DT_EXPANDTABS, DT_NOCLIP, DT_CALCRECT) and the colour. pSprite is ignored. With DT_CALCRECT
    // nothing is drawn and pRect is set to the box the text takes. Drawing needs an open scene.
    // The text is drawn over whatever is there and its inked pixels write depth 0, so what is
    // drawn later in the frame stays behind it; every device state it changes (render, texture
    // stage and sampler states, the stage 0 texture, the FVF, stream 0) is put back.
    STDMETHOD_(INT, DrawTextA)(THIS_ LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect,
                               DWORD Format, D3DCOLOR Color) PURE;
    // DrawTextA for WCHAR text (Count in characters): the text is converted to code page 1251,
    // where a character the code page lacks becomes '?', and drawn by DrawTextA.
    STDMETHOD_(INT, DrawTextW)(THIS_ LPD3DXSPRITE pSprite, LPCWSTR pString, INT Count, LPRECT pRect,
                               DWORD Format, D3DCOLOR Color) PURE;
    // Releases and re-creates what the font keeps in device memory around a device reset.
    STDMETHOD(OnLostDevice)(THIS) PURE;
    STDMETHOD(OnResetDevice)(THIS) PURE;
};
typedef ID3DXFont* LPD3DXFONT;

#ifdef UNICODE
#define DrawText DrawTextW
#define PreloadText PreloadTextW
#else
#define DrawText DrawTextA
#define PreloadText PreloadTextA
#endif

#ifdef UNICODE
#define D3DXCreateFont D3DXCreateFontW
#define D3DXCreateFontIndirect D3DXCreateFontIndirectW
#else
#define D3DXCreateFont D3DXCreateFontA
#define D3DXCreateFontIndirect D3DXCreateFontIndirectA
#endif

extern "C" {

// A new zero-filled buffer of NumBytes bytes. D3DERR_INVALIDCALL for a null ppBuffer,
// E_OUTOFMEMORY when the memory cannot be had; *ppBuffer is null on failure.
HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);

// A font on pDevice. D3DERR_INVALIDCALL for a null device, face name or ppFont; a face name that
// matches no installed face falls back to the closest one (fontconfig's choice). *ppFont is null
// on failure.
HRESULT WINAPI D3DXCreateFontA(LPDIRECT3DDEVICE9 pDevice, INT Height, UINT Width, UINT Weight,
                               UINT MipLevels, BOOL Italic, DWORD CharSet, DWORD OutputPrecision,
                               DWORD Quality, DWORD PitchAndFamily, LPCSTR pFaceName,
                               LPD3DXFONT* ppFont);
HRESULT WINAPI D3DXCreateFontIndirectA(LPDIRECT3DDEVICE9 pDevice, const D3DXFONT_DESCA* pDesc,
                                       LPD3DXFONT* ppFont);
// The same with a WCHAR face name, converted to code page 1251.
HRESULT WINAPI D3DXCreateFontW(LPDIRECT3DDEVICE9 pDevice, INT Height, UINT Width, UINT Weight,
                               UINT MipLevels, BOOL Italic, DWORD CharSet, DWORD OutputPrecision,
                               DWORD Quality, DWORD PitchAndFamily, LPCWSTR pFaceName,
                               LPD3DXFONT* ppFont);
HRESULT WINAPI D3DXCreateFontIndirectW(LPDIRECT3DDEVICE9 pDevice, const D3DXFONT_DESCW* pDesc,
                                       LPD3DXFONT* ppFont);

}  // extern "C"
#endif  // __cplusplus
