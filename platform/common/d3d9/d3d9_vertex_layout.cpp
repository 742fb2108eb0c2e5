#include "common/d3d9/d3d9_vertex_layout.h"

bool D3D9_Vertex_Layout::Decode(DWORD fvf)
{
    *this = D3D9_Vertex_Layout();
    const DWORD known = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR |
                        D3DFVF_TEXCOUNT_MASK | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_LASTBETA_D3DCOLOR | 0xFFFF0000u;
    if (fvf & ~known)
        return false;
    UINT offset = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: offset = 12; break;
    case D3DFVF_XYZRHW: offset = 16; rhw = true; break;
    case D3DFVF_XYZW: offset = 16; break;
    case D3DFVF_XYZB1: case D3DFVF_XYZB2: case D3DFVF_XYZB3: case D3DFVF_XYZB4: case D3DFVF_XYZB5:
        blend_weights = int(((fvf & D3DFVF_POSITION_MASK) - D3DFVF_XYZ) / 2);
        offset = 12 + 4 * blend_weights;
        break;
    default: return false;
    }
    if (rhw && (fvf & D3DFVF_NORMAL))
        return false;
    if (fvf & D3DFVF_NORMAL) { normal = int(offset); offset += 12; }
    if (fvf & D3DFVF_PSIZE) { point_size = int(offset); offset += 4; }
    if (fvf & D3DFVF_DIFFUSE) { diffuse = int(offset); offset += 4; }
    if (fvf & D3DFVF_SPECULAR) { specular = int(offset); offset += 4; }
    const int count = int((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    if (count > 8) {
        *this = D3D9_Vertex_Layout();
        return false;
    }
    texcoord_count = count;
    for (int i = 0; i < count; ++i) {
        static const int floats_of_format[4] = {2, 3, 4, 1};
        texcoord[i] = int(offset);
        texcoord_size[i] = floats_of_format[(fvf >> (16 + 2 * i)) & 3];
        offset += 4 * UINT(texcoord_size[i]);
    }
    size = offset;
    return true;
}

UINT d3d9_vertex_count(D3DPRIMITIVETYPE type, UINT primitive_count)
{
    switch (type) {
    case D3DPT_POINTLIST: return primitive_count;
    case D3DPT_LINELIST: return primitive_count * 2;
    case D3DPT_LINESTRIP: return primitive_count + 1;
    case D3DPT_TRIANGLELIST: return primitive_count * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitive_count + 2;
    default: return 0;
    }
}
