#pragma once
// The console's one-line text box: typing from the keyboard state, Enter queues the line.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "console/command_history.h"
#include "core/timer.h"
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

// A yellow box with a caption above it. While focused it takes one character per accepted
// HandleKeys call (see the key table in input_line_keys.cpp), at most MAX_TEXT of them;
// Backspace removes the last one and Enter appends the line to the command queue's knot 1 and
// to the history, which Up and Down walk (see Console::HandleKeyDown). A
// press inside focuses it and starts a drag; the release moves the box by the cursor's
// displacement and rebuilds its resources. A press elsewhere unfocuses it.
class InputLine {
public:
    enum { MAX_TEXT = 50 };

    // device is the address of the engine's device pointer; commandQueue may be null until the
    // engine wires the time line (Enter then queues nothing). Creates the caption font.
    InputLine(IDirect3DDevice9** device, DynamicRow* commandQueue, const char* caption);
    virtual ~InputLine();

    // Releases and rebuilds the texture, the background quad and the text font for the box's
    // place; E_FAIL when the quad cannot be made (the text font is then not made).
    HRESULT CreateResources();
    // Quad, typed text right-aligned in the box, caption, then the outline (or, while dragging,
    // the outline where the box would land). Skips what does not exist.
    void Draw();
    // event 1 press, 2 release, anything else only moves the cursor. True when a press landed
    // strictly inside the box.
    bool HandleMouse(short event, int x, int y);
    // keys is a GetKeyboardState table: bit 0x80 set for a key that is down.
    void HandleKeys(const BYTE keys[256]);

    IDirect3DDevice9** device;
    D3DCOLOR textColor;
    D3DCOLOR backColor;
    IDirect3DVertexBuffer9* vertexBuffer;
    IDirect3DTexture9* texture;
    ID3DXFont* textFont;
    ID3DXFont* captionFont;
    int x;
    int y;
    int width;
    int height;
    bool focused;
    bool dragging;
    Orvex_string text;
    Orvex_string caption;
    int pressX;
    int pressY;
    int mouseX;
    int mouseY;
    int grabRight;
    int grabBottom;
    DynamicRow* commandQueue;
    Timer keyTimer;
    CommandHistory history;

private:
    // The character the first key of the table that is down types, or 0 when none is.
    static char TypedCharacter(const BYTE keys[256]);
};
