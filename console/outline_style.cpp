#include "console/outline_style.h"

#include "core/draw_lines.h"

OutlineStyle::OutlineStyle(IDirect3DDevice9* device_) : device(device_), slot(device_)
{
    device->GetTextureStageState(0, D3DTSS_COLOROP, &colourOp);
    device->GetTextureStageState(0, D3DTSS_COLORARG1, &colourArg);
    device->GetTextureStageState(0, D3DTSS_ALPHAOP, &alphaOp);
    device->GetTextureStageState(0, D3DTSS_ALPHAARG1, &alphaArg);
    device->GetRenderState(D3DRS_TEXTUREFACTOR, &factor);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, OUTLINE_COLOUR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
}

OutlineStyle::~OutlineStyle()
{
    device->SetTextureStageState(0, D3DTSS_COLOROP, colourOp);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, colourArg);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, alphaOp);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, alphaArg);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, factor);
}

void OutlineStyle::Line(float x1, float y1, float x2, float y2)
{
    DrawLine(x1, y1, 0.0f, x2, y2, 0.0f, &slot);
}

// The top edge slopes by two pixels: it runs from T+1 on the right to T-1 on the left.
void OutlineStyle::DrawGhost(float right, float left, float bottom, float top)
{
    Line(right + 1, bottom + 1, left - 1, bottom + 1);
    Line(right + 1, top + 1, left - 1, top - 1);
    Line(right + 1, bottom + 1, right + 1, top - 1);
    Line(left - 1, bottom + 1, left - 1, top - 1);
}

void OutlineStyle::DrawHeldGhost(int mouseX, int mouseY, int grabRight, int grabBottom, int width,
                                 int height)
{
    const float right = (float)mouseX + (float)grabRight;
    const float bottom = (float)mouseY - (float)grabBottom;
    DrawGhost(right, right - (float)width, bottom, bottom - (float)height);
}
