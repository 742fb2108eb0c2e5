#pragma once
// The console's log panel.
#include <windows.h>
#include <d3d9.h>

#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

class Console;

// Stand-in until the console's log view lands: placed by the console, reading its log, drawing
// nothing.
class LogView {
public:
    LogView(IDirect3DDevice9** device, Console* console, const char* caption);
    virtual ~LogView();

    void Place(int x, int y, int width, int height, D3DCOLOR colour);
    void Draw();
    bool HandleMouse(short event, int x, int y);

    IDirect3DDevice9** device;
    D3DCOLOR textColor;
    D3DCOLOR backColor;
    int x;
    int y;
    int width;
    int height;
    Orvex_string caption;
    DynamicRow* log;
    bool active;
};
