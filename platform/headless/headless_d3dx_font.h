#pragma once
// Fonts on the headless platform. They find and measure their face as the native ones do, so
// DrawTextA answers the same heights (and DT_CALCRECT the same extents), but they draw nothing
// and make no device call: each DrawTextA appends one line to the call log instead,
//   DrawTextA("<text>", {<left>,<top>,<right>,<bottom>}, <format>, 0x<AARRGGBB>)
// for example
//   DrawTextA("0 fps", {5,45,0,0}, DT_NOCLIP, 0xFFFFFFFF)
//   DrawTextA("ls", {0,0,195,15}, DT_RIGHT|DT_EXPANDTABS, 0xFF91919B)
// <text> is the bytes drawn as they are (count bytes, or up to the NUL for a negative count; code
// page 1251 bytes included, nothing escaped), or null for a null string. The rectangle is null for
// a null one. <format> is the DT_* names of the set flags from the lowest bit up, joined by '|',
// unknown bits as one 0x hex number last, and 0 for no flag. The colour is eight upper-case hex
// digits.
//
// Each creation, whether it succeeds or not, appends
//   D3DXCreateFontA(<Height>, <Width>, <Weight>, <MipLevels>, <Italic>, <CharSet>, <OutputPrecision>, <Quality>, <PitchAndFamily>, "<face>")
// with every number in decimal (D3DXCreateFontIndirectA logs the same line), followed by
// " -> failed" when it failed.
#include <d3dx9core.h>

#include <functional>

namespace orvex_headless {

// From now on font creation fails with E_FAIL, creating nothing, whenever fails(description)
// answers true (the description as GetDescA would give it). An empty function ends it.
void set_font_creation_failure(std::function<bool(const D3DXFONT_DESCA&)> fails);

}  // namespace orvex_headless
