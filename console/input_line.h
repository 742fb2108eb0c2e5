#pragma once
// The console's one-line text box.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "core/timer.h"
#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

// Stand-in until the console's input line lands: the fields the engine and the window procedure
// use, the position set by the console, no drawing and no typing.
class InputLine {
public:
    InputLine(IDirect3DDevice9** device, DynamicRow* commandQueue, const char* caption);
    virtual ~InputLine();

    HRESULT CreateResources();
    void Draw();
    bool HandleMouse(short event, int x, int y);
    void HandleKeys(const BYTE keys[256]);

    IDirect3DDevice9** device;
    D3DCOLOR textColor;
    D3DCOLOR backColor;
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
    DynamicRow* commandQueue;
    Timer keyTimer;
};
