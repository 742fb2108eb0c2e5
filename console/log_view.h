#pragma once
// The console's log panel: a grey panel showing a window of the newest log lines in their
// category colours, dragged with the left button and scrolled with the thumb at its lower right.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <vector>

#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

class Console;

// Reads the console's log tree every time it draws: the line knots under node 1 ("LOG") are
// numbered D = 1 (oldest) to C (newest); the panel shows those with C - topLine <= D <=
// C - bottomLine, line D at y + (topLine - C + D) * 10. Lines without a known category keep
// their row empty. Drawing finds its lines through an index of the log's line ids that grows
// with the log, so it costs one text draw per shown line however long the log is.
class LogView {
public:
    // Creates the caption font; Place must run before the first Draw.
    LogView(IDirect3DDevice9** device, Console* console, const char* caption);
    virtual ~LogView();

    // Puts the panel at (x, y) with the given size, the thumb at its lower right corner, the
    // newest lines in view (topLine = height / 10 - 3), and rebuilds the resources. The panel
    // is drawn in backColor; colour is not used.
    void Place(int x, int y, int width, int height, D3DCOLOR colour);
    // Releases and rebuilds the texture, the panel and thumb quads and the text font; E_FAIL
    // when a quad cannot be made (what was made before stays).
    HRESULT CreateResources();
    // Panel, thumb, caption, outline (or ghost outline while moving), thumb marker, lines.
    void Draw();
    // One log line at (x, y) in colour.
    void DrawEntry(Orvex_string text, int x, int y, D3DCOLOR colour);
    // event 1 press, 2 release, anything else only moves the cursor. A press inside grabs the
    // thumb or starts a move; its release moves the panel or scrolls. True when a press landed
    // strictly inside the panel.
    bool HandleMouse(short event, int x, int y);

    // Moves the window of lines by lines (positive: toward older lines), keeping its size, and
    // no further than the oldest line at its top or the newest at its bottom; the thumb follows
    // to where a thumb drag would have put the window.
    void ScrollLines(long long lines);
    void ScrollToOldest();
    void ScrollToNewest();
    // The lines a page moves: one fewer than the window shows, so one line stays in sight.
    int PageLines() const;
    // A wheel turn (delta in WHEEL_DELTA units, cursor in client pixels): strictly inside the
    // panel each whole notch scrolls linesPerNotch lines, forward toward older lines; parts of
    // a notch add up. True when the cursor was over the panel.
    bool HandleWheel(short delta, int x, int y, int linesPerNotch);

    IDirect3DDevice9** device;
    D3DCOLOR textColor;
    D3DCOLOR backColor;
    IDirect3DVertexBuffer9* panelBuffer;
    IDirect3DVertexBuffer9* thumbBuffer;
    IDirect3DTexture9* texture;
    ID3DXFont* textFont;
    ID3DXFont* captionFont;
    int x;
    int y;
    int width;
    int height;
    int thumbX;
    int thumbY;
    bool moving;
    bool thumbGrabbed;
    Orvex_string caption;
    // Held as int rather than 16 bits: a log grows past 32767 lines, and a scroll position
    // that wrapped would show the wrong lines.
    int topLine;
    int bottomLine;
    int pressX;
    int pressY;
    int mouseX;
    int mouseY;
    int grabRight;
    int grabBottom;
    DynamicRow* log;
    bool active;

private:
    void DrawFrame();
    void DrawThumbMarker();
    void DrawLines();
    void Scroll(int my);
    void PlaceThumb();
    // The ids of the children of the log's node 1, oldest first, brought up to date.
    const std::vector<unsigned int>& IndexedLines();

    int wheelRest;                        // wheel delta not yet worth a notch
    std::vector<unsigned int> lineIndex;  // of indexedLog, which nothing ever shortens
    const DynamicRow* indexedLog;
};
