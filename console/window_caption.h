#pragma once
// The caption each console window carries just above its top-left corner.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

// Creates the small font captions are drawn in. Without a device, or when creation fails,
// *font is left as it was.
inline void CreateCaptionFont(IDirect3DDevice9* device, ID3DXFont** font)
{
    if (device)
        D3DXCreateFontA(device, 10, 5, 200, 0, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Arial", font);
}

// Draws caption unclipped from 12 pixels above (x, y). A null font draws nothing.
inline void DrawCaption(ID3DXFont* font, const char* caption, int x, int y, D3DCOLOR colour)
{
    if (!font)
        return;
    RECT above = {x, y - 12, 0, 0};
    font->DrawTextA(NULL, caption, -1, &above, DT_NOCLIP, colour);
}
