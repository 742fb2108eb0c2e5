#include "console/screen_quad.h"

#include <string.h>

static_assert(sizeof(ScreenQuadVertex) == 20, "a console vertex is four floats and a colour");

HRESULT CreateScreenQuad(IDirect3DDevice9* device, float left, float top, float right,
                         float bottom, float z, D3DCOLOR colour, IDirect3DVertexBuffer9** buffer)
{
    const ScreenQuadVertex vertices[4] = {
        {left, bottom, z, 1.0f, colour},
        {left, top, z, 0.0f, colour},
        {right, bottom, z, 1.0f, colour},
        {right, top, z, 0.0f, colour},
    };
    *buffer = NULL;
    if (!device)
        return E_FAIL;
    const UINT size = 4 * sizeof(ScreenQuadVertex);
    IDirect3DVertexBuffer9* made = NULL;
    if (FAILED(device->CreateVertexBuffer(size, 0, CONSOLE_QUAD_FVF, D3DPOOL_DEFAULT, &made, NULL)) ||
        !made)
        return E_FAIL;
    void* data = NULL;
    if (FAILED(made->Lock(0, 0, &data, 0)) || !data) {
        made->Release();
        return E_FAIL;
    }
    memcpy(data, vertices, size);
    made->Unlock();
    *buffer = made;
    return S_OK;
}

void DrawScreenQuad(IDirect3DDevice9* device, IDirect3DVertexBuffer9* buffer)
{
    if (!buffer)
        return;
    device->SetStreamSource(0, buffer, 0, sizeof(ScreenQuadVertex));
    device->SetFVF(CONSOLE_QUAD_FVF);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
}
