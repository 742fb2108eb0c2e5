#include <d3dx9.h>

#include <string.h>

HRESULT WINAPI D3DXComputeBoundingBox(CONST D3DXVECTOR3* pFirstPosition, DWORD NumVertices, DWORD dwStride,
                                      D3DXVECTOR3* pMin, D3DXVECTOR3* pMax)
{
    if (!pFirstPosition || !pMin || !pMax || dwStride < sizeof(D3DXVECTOR3))
        return D3DERR_INVALIDCALL;
    D3DXVECTOR3 low(0.0f, 0.0f, 0.0f), high(0.0f, 0.0f, 0.0f);
    const BYTE* at = reinterpret_cast<const BYTE*>(pFirstPosition);
    for (DWORD i = 0; i < NumVertices; ++i, at += dwStride) {
        D3DXVECTOR3 p;
        memcpy(&p, at, sizeof p);
        if (i == 0) {
            low = high = p;
            continue;
        }
        low.x = p.x < low.x ? p.x : low.x;
        low.y = p.y < low.y ? p.y : low.y;
        low.z = p.z < low.z ? p.z : low.z;
        high.x = p.x > high.x ? p.x : high.x;
        high.y = p.y > high.y ? p.y : high.y;
        high.z = p.z > high.z ? p.z : high.z;
    }
    *pMin = low;
    *pMax = high;
    return D3D_OK;
}
