#include "d3d9_log_format.h"

#include <cstdio>
#include <cstring>

namespace orvex_headless {

namespace {

struct Name {
    DWORD value;
    const char* name;
};

template <size_t N>
std::string lookup(const Name (&names)[N], DWORD value)
{
    for (const Name& n : names)
        if (n.value == value)
            return n.name;
    return std::to_string(value);
}

template <size_t N>
std::string flags(const Name (&names)[N], DWORD value)
{
    if (value == 0)
        return "0";
    std::string text;
    for (const Name& n : names) {
        if (n.value && (value & n.value) == n.value) {
            text += text.empty() ? "" : "|";
            text += n.name;
            value &= ~n.value;
        }
    }
    if (value)
        text += (text.empty() ? "" : "|") + d3d9_hex(value);
    return text;
}

float as_float(DWORD d)
{
    float f;
    std::memcpy(&f, &d, 4);
    return f;
}

}  // namespace

std::string d3d9_hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(value));
    return text;
}

std::string d3d9_float(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

std::string d3d9_result(HRESULT hr)
{
    static const Name names[] = {
        {DWORD(D3DERR_INVALIDCALL), "INVALIDCALL"},       {DWORD(D3DERR_NOTAVAILABLE), "NOTAVAILABLE"},
        {DWORD(D3DERR_OUTOFVIDEOMEMORY), "OUTOFVIDEOMEMORY"}, {DWORD(D3DERR_DEVICELOST), "DEVICELOST"},
        {DWORD(D3DERR_DEVICENOTRESET), "DEVICENOTRESET"}, {DWORD(D3DERR_NOTFOUND), "NOTFOUND"},
        {DWORD(D3DERR_WASSTILLDRAWING), "WASSTILLDRAWING"}, {DWORD(E_OUTOFMEMORY), "E_OUTOFMEMORY"},
        {DWORD(E_FAIL), "E_FAIL"},                        {DWORD(E_INVALIDARG), "E_INVALIDARG"},
    };
    for (const Name& n : names)
        if (n.value == DWORD(hr))
            return n.name;
    return d3d9_hex(DWORD(hr));
}

std::string d3d9_render_state(D3DRENDERSTATETYPE state)
{
    static const Name names[] = {
        {7, "ZENABLE"}, {8, "FILLMODE"}, {9, "SHADEMODE"}, {14, "ZWRITEENABLE"}, {15, "ALPHATESTENABLE"},
        {16, "LASTPIXEL"}, {19, "SRCBLEND"}, {20, "DESTBLEND"}, {22, "CULLMODE"}, {23, "ZFUNC"},
        {24, "ALPHAREF"}, {25, "ALPHAFUNC"}, {26, "DITHERENABLE"}, {27, "ALPHABLENDENABLE"}, {28, "FOGENABLE"},
        {29, "SPECULARENABLE"}, {34, "FOGCOLOR"}, {35, "FOGTABLEMODE"}, {36, "FOGSTART"}, {37, "FOGEND"},
        {38, "FOGDENSITY"}, {48, "RANGEFOGENABLE"}, {52, "STENCILENABLE"}, {53, "STENCILFAIL"},
        {54, "STENCILZFAIL"}, {55, "STENCILPASS"}, {56, "STENCILFUNC"}, {57, "STENCILREF"}, {58, "STENCILMASK"},
        {59, "STENCILWRITEMASK"}, {60, "TEXTUREFACTOR"}, {128, "WRAP0"}, {129, "WRAP1"}, {130, "WRAP2"},
        {131, "WRAP3"}, {132, "WRAP4"}, {133, "WRAP5"}, {134, "WRAP6"}, {135, "WRAP7"}, {136, "CLIPPING"},
        {137, "LIGHTING"}, {139, "AMBIENT"}, {140, "FOGVERTEXMODE"}, {141, "COLORVERTEX"}, {142, "LOCALVIEWER"},
        {143, "NORMALIZENORMALS"}, {145, "DIFFUSEMATERIALSOURCE"}, {146, "SPECULARMATERIALSOURCE"},
        {147, "AMBIENTMATERIALSOURCE"}, {148, "EMISSIVEMATERIALSOURCE"}, {151, "VERTEXBLEND"},
        {152, "CLIPPLANEENABLE"}, {154, "POINTSIZE"}, {155, "POINTSIZE_MIN"}, {156, "POINTSPRITEENABLE"},
        {157, "POINTSCALEENABLE"}, {158, "POINTSCALE_A"}, {159, "POINTSCALE_B"}, {160, "POINTSCALE_C"},
        {161, "MULTISAMPLEANTIALIAS"}, {162, "MULTISAMPLEMASK"}, {163, "PATCHEDGESTYLE"},
        {165, "DEBUGMONITORTOKEN"}, {166, "POINTSIZE_MAX"}, {167, "INDEXEDVERTEXBLENDENABLE"},
        {168, "COLORWRITEENABLE"}, {170, "TWEENFACTOR"}, {171, "BLENDOP"}, {172, "POSITIONDEGREE"},
        {173, "NORMALDEGREE"}, {174, "SCISSORTESTENABLE"}, {175, "SLOPESCALEDEPTHBIAS"},
        {176, "ANTIALIASEDLINEENABLE"}, {178, "MINTESSELLATIONLEVEL"}, {179, "MAXTESSELLATIONLEVEL"},
        {180, "ADAPTIVETESS_X"}, {181, "ADAPTIVETESS_Y"}, {182, "ADAPTIVETESS_Z"}, {183, "ADAPTIVETESS_W"},
        {184, "ENABLEADAPTIVETESSELLATION"}, {185, "TWOSIDEDSTENCILMODE"}, {186, "CCW_STENCILFAIL"},
        {187, "CCW_STENCILZFAIL"}, {188, "CCW_STENCILPASS"}, {189, "CCW_STENCILFUNC"},
        {190, "COLORWRITEENABLE1"}, {191, "COLORWRITEENABLE2"}, {192, "COLORWRITEENABLE3"},
        {193, "BLENDFACTOR"}, {194, "SRGBWRITEENABLE"}, {195, "DEPTHBIAS"}, {198, "WRAP8"}, {199, "WRAP9"},
        {200, "WRAP10"}, {201, "WRAP11"}, {202, "WRAP12"}, {203, "WRAP13"}, {204, "WRAP14"}, {205, "WRAP15"},
        {206, "SEPARATEALPHABLENDENABLE"}, {207, "SRCBLENDALPHA"}, {208, "DESTBLENDALPHA"},
        {209, "BLENDOPALPHA"},
    };
    return lookup(names, DWORD(state));
}

std::string d3d9_render_state_value(D3DRENDERSTATETYPE state, DWORD value)
{
    switch (state) {
    case D3DRS_AMBIENT: case D3DRS_FOGCOLOR: case D3DRS_TEXTUREFACTOR: case D3DRS_BLENDFACTOR:
        return d3d9_hex(value);
    case D3DRS_FOGSTART: case D3DRS_FOGEND: case D3DRS_FOGDENSITY: case D3DRS_POINTSIZE:
    case D3DRS_POINTSIZE_MIN: case D3DRS_POINTSIZE_MAX: case D3DRS_POINTSCALE_A: case D3DRS_POINTSCALE_B:
    case D3DRS_POINTSCALE_C: case D3DRS_TWEENFACTOR: case D3DRS_SLOPESCALEDEPTHBIAS: case D3DRS_DEPTHBIAS:
    case D3DRS_MINTESSELLATIONLEVEL: case D3DRS_MAXTESSELLATIONLEVEL: case D3DRS_ADAPTIVETESS_X:
    case D3DRS_ADAPTIVETESS_Y: case D3DRS_ADAPTIVETESS_Z: case D3DRS_ADAPTIVETESS_W:
        return d3d9_float(as_float(value));
    default:
        return std::to_string(value);
    }
}

std::string d3d9_stage_state(D3DTEXTURESTAGESTATETYPE type)
{
    static const Name names[] = {
        {1, "COLOROP"}, {2, "COLORARG1"}, {3, "COLORARG2"}, {4, "ALPHAOP"}, {5, "ALPHAARG1"},
        {6, "ALPHAARG2"}, {7, "BUMPENVMAT00"}, {8, "BUMPENVMAT01"}, {9, "BUMPENVMAT10"}, {10, "BUMPENVMAT11"},
        {11, "TEXCOORDINDEX"}, {22, "BUMPENVLSCALE"}, {23, "BUMPENVLOFFSET"}, {24, "TEXTURETRANSFORMFLAGS"},
        {26, "COLORARG0"}, {27, "ALPHAARG0"}, {28, "RESULTARG"}, {32, "CONSTANT"},
    };
    return lookup(names, DWORD(type));
}

std::string d3d9_stage_state_value(D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    switch (type) {
    case D3DTSS_CONSTANT: return d3d9_hex(value);
    case D3DTSS_BUMPENVMAT00: case D3DTSS_BUMPENVMAT01: case D3DTSS_BUMPENVMAT10: case D3DTSS_BUMPENVMAT11:
    case D3DTSS_BUMPENVLSCALE: case D3DTSS_BUMPENVLOFFSET:
        return d3d9_float(as_float(value));
    default: return std::to_string(value);
    }
}

std::string d3d9_sampler_state(D3DSAMPLERSTATETYPE type)
{
    static const Name names[] = {
        {1, "ADDRESSU"}, {2, "ADDRESSV"}, {3, "ADDRESSW"}, {4, "BORDERCOLOR"}, {5, "MAGFILTER"},
        {6, "MINFILTER"}, {7, "MIPFILTER"}, {8, "MIPMAPLODBIAS"}, {9, "MAXMIPLEVEL"}, {10, "MAXANISOTROPY"},
        {11, "SRGBTEXTURE"}, {12, "ELEMENTINDEX"}, {13, "DMAPOFFSET"},
    };
    return lookup(names, DWORD(type));
}

std::string d3d9_sampler_state_value(D3DSAMPLERSTATETYPE type, DWORD value)
{
    if (type == D3DSAMP_BORDERCOLOR)
        return d3d9_hex(value);
    if (type == D3DSAMP_MIPMAPLODBIAS)
        return d3d9_float(as_float(value));
    return std::to_string(value);
}

std::string d3d9_transform(D3DTRANSFORMSTATETYPE state)
{
    const DWORD s = DWORD(state);
    if (s == D3DTS_VIEW)
        return "VIEW";
    if (s == D3DTS_PROJECTION)
        return "PROJECTION";
    if (s >= D3DTS_TEXTURE0 && s <= D3DTS_TEXTURE7)
        return "TEXTURE" + std::to_string(s - D3DTS_TEXTURE0);
    if (s == 256)
        return "WORLD";
    if (s > 256 && s <= 511)
        return "WORLD" + std::to_string(s - 256);
    return std::to_string(s);
}

std::string d3d9_primitive(D3DPRIMITIVETYPE type)
{
    static const Name names[] = {
        {1, "POINTLIST"}, {2, "LINELIST"}, {3, "LINESTRIP"}, {4, "TRIANGLELIST"}, {5, "TRIANGLESTRIP"},
        {6, "TRIANGLEFAN"},
    };
    return lookup(names, DWORD(type));
}

std::string d3d9_format(D3DFORMAT format)
{
    static const Name names[] = {
        {0, "UNKNOWN"}, {20, "R8G8B8"}, {21, "A8R8G8B8"}, {22, "X8R8G8B8"}, {23, "R5G6B5"}, {24, "X1R5G5B5"},
        {25, "A1R5G5B5"}, {26, "A4R4G4B4"}, {28, "A8"}, {32, "A8B8G8R8"}, {33, "X8B8G8R8"}, {50, "L8"},
        {51, "A8L8"}, {DWORD(D3DFMT_DXT1), "DXT1"}, {DWORD(D3DFMT_DXT2), "DXT2"}, {DWORD(D3DFMT_DXT3), "DXT3"},
        {DWORD(D3DFMT_DXT4), "DXT4"}, {DWORD(D3DFMT_DXT5), "DXT5"}, {70, "D16_LOCKABLE"}, {71, "D32"},
        {75, "D24S8"}, {77, "D24X8"}, {80, "D16"}, {100, "VERTEXDATA"}, {101, "INDEX16"}, {102, "INDEX32"},
    };
    return lookup(names, DWORD(format));
}

std::string d3d9_pool(D3DPOOL pool)
{
    static const Name names[] = {{0, "DEFAULT"}, {1, "MANAGED"}, {2, "SYSTEMMEM"}, {3, "SCRATCH"}};
    return lookup(names, DWORD(pool));
}

std::string d3d9_fvf(DWORD fvf)
{
    if (fvf == 0)
        return "0";
    static const Name positions[] = {
        {D3DFVF_XYZ, "XYZ"}, {D3DFVF_XYZRHW, "XYZRHW"}, {D3DFVF_XYZB1, "XYZB1"}, {D3DFVF_XYZB2, "XYZB2"},
        {D3DFVF_XYZB3, "XYZB3"}, {D3DFVF_XYZB4, "XYZB4"}, {D3DFVF_XYZB5, "XYZB5"}, {D3DFVF_XYZW, "XYZW"},
    };
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "|") + part; };
    if (fvf & D3DFVF_POSITION_MASK)
        add(lookup(positions, fvf & D3DFVF_POSITION_MASK));
    static const Name elements[] = {
        {D3DFVF_NORMAL, "NORMAL"}, {D3DFVF_PSIZE, "PSIZE"}, {D3DFVF_DIFFUSE, "DIFFUSE"},
        {D3DFVF_SPECULAR, "SPECULAR"}, {D3DFVF_LASTBETA_UBYTE4, "LASTBETA_UBYTE4"},
        {D3DFVF_LASTBETA_D3DCOLOR, "LASTBETA_D3DCOLOR"},
    };
    for (const Name& n : elements)
        if (fvf & n.value)
            add(n.name);
    const DWORD tex = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (tex)
        add("TEX" + std::to_string(tex));
    for (DWORD i = 0; i < 8; ++i) {
        const DWORD size = (fvf >> (16 + 2 * i)) & 3;
        if (size)
            add("TEXCOORDSIZE" + std::to_string(size == 3 ? 1 : size + 2) + "(" + std::to_string(i) + ")");
    }
    const DWORD rest = fvf & ~DWORD(0xFFFF0000u | D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE |
                                    D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_LASTBETA_UBYTE4 |
                                    D3DFVF_LASTBETA_D3DCOLOR | D3DFVF_TEXCOUNT_MASK);
    if (rest)
        add(d3d9_hex(rest));
    return text;
}

std::string d3d9_clear_flags(DWORD value)
{
    static const Name names[] = {{D3DCLEAR_TARGET, "TARGET"}, {D3DCLEAR_ZBUFFER, "ZBUFFER"},
                                 {D3DCLEAR_STENCIL, "STENCIL"}};
    return flags(names, value);
}

std::string d3d9_usage(DWORD value)
{
    static const Name names[] = {
        {D3DUSAGE_RENDERTARGET, "RENDERTARGET"}, {D3DUSAGE_DEPTHSTENCIL, "DEPTHSTENCIL"},
        {D3DUSAGE_WRITEONLY, "WRITEONLY"}, {D3DUSAGE_SOFTWAREPROCESSING, "SOFTWAREPROCESSING"},
        {D3DUSAGE_DONOTCLIP, "DONOTCLIP"}, {D3DUSAGE_POINTS, "POINTS"}, {D3DUSAGE_DYNAMIC, "DYNAMIC"},
        {D3DUSAGE_AUTOGENMIPMAP, "AUTOGENMIPMAP"},
    };
    return flags(names, value);
}

std::string d3d9_lock_flags(DWORD value)
{
    static const Name names[] = {
        {D3DLOCK_READONLY, "READONLY"}, {D3DLOCK_DISCARD, "DISCARD"}, {D3DLOCK_NOOVERWRITE, "NOOVERWRITE"},
        {D3DLOCK_NOSYSLOCK, "NOSYSLOCK"}, {D3DLOCK_DONOTWAIT, "DONOTWAIT"},
        {D3DLOCK_NO_DIRTY_UPDATE, "NO_DIRTY_UPDATE"},
    };
    return flags(names, value);
}

std::string d3d9_behaviour(DWORD value)
{
    static const Name names[] = {
        {D3DCREATE_FPU_PRESERVE, "FPU_PRESERVE"}, {D3DCREATE_MULTITHREADED, "MULTITHREADED"},
        {D3DCREATE_PUREDEVICE, "PUREDEVICE"}, {D3DCREATE_SOFTWARE_VERTEXPROCESSING, "SOFTWARE_VERTEXPROCESSING"},
        {D3DCREATE_HARDWARE_VERTEXPROCESSING, "HARDWARE_VERTEXPROCESSING"},
        {D3DCREATE_MIXED_VERTEXPROCESSING, "MIXED_VERTEXPROCESSING"},
        {D3DCREATE_NOWINDOWCHANGES, "NOWINDOWCHANGES"},
    };
    return flags(names, value);
}

std::string d3d9_matrix(const D3DMATRIX* m)
{
    if (!m)
        return "NULL";
    std::string text = "{";
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            text += d3d9_float(m->m[row][column]);
            text += column < 3 ? " " : (row < 3 ? "; " : "}");
        }
    }
    return text;
}

std::string d3d9_colour_value(const D3DCOLORVALUE& c)
{
    return d3d9_float(c.r) + " " + d3d9_float(c.g) + " " + d3d9_float(c.b) + " " + d3d9_float(c.a);
}

std::string d3d9_rect(const RECT* r)
{
    if (!r)
        return "NULL";
    return "{" + std::to_string(r->left) + "," + std::to_string(r->top) + "," + std::to_string(r->right) + "," +
           std::to_string(r->bottom) + "}";
}

}  // namespace orvex_headless
