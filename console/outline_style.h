#pragma once
// The colour of the console's outlines. The outlines are plain DrawLine segments drawn under the
// console quads' vertex format, which reads no colour from them, so while an OutlineStyle lives
// texture stage 0 takes colour and alpha from the texture factor instead, set to OUTLINE_COLOUR.
// The stage and the factor are put back as they were when it goes.
#include <windows.h>
#include <d3d9.h>

// Magenta: nothing else on the console (grey and yellow panels, the log's white, orange-red,
// yellow and blue text) nor the wireframe scene behind it uses it.
#define OUTLINE_COLOUR 0xFFFF00FF

class OutlineStyle {
public:
    explicit OutlineStyle(IDirect3DDevice9* device);
    virtual ~OutlineStyle();

    // The outline of a box being dragged, drawn where the box would land on release: R, L, B
    // and T are its right, left, bottom and top edges there.
    void DrawGhost(float right, float left, float bottom, float top);
    // The ghost of a width x height box held by the cursor at (mouseX, mouseY), which took it
    // grabRight pixels left of its right edge and grabBottom pixels below its bottom edge.
    void DrawHeldGhost(int mouseX, int mouseY, int grabRight, int grabBottom, int width, int height);
    // One segment at depth 0 in screen pixels.
    void Line(float x1, float y1, float x2, float y2);

private:
    IDirect3DDevice9* device;
    IDirect3DDevice9* slot;
    DWORD colourOp, colourArg, alphaOp, alphaArg, factor;
};
