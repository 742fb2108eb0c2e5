#include "common/effect/fx_state_tables.h"

#include <cstring>
#include <strings.h>

namespace orvex_fx {

namespace {

struct Named_State {
    const char* name;
    State_Kind kind;
    uint32_t id;
    Value_Kind value;
    const char* table;
};

const Value_Kind I = Value_Kind::Integer, B = Value_Kind::Boolean, F = Value_Kind::Float,
                 E = Value_Kind::Enum, M = Value_Kind::Color_Mask;
const State_Kind R = State_Kind::Render, S = State_Kind::Sampler, T = State_Kind::Texture_Stage;

const Named_State kStates[] = {
    {"ZENABLE", R, 7, E, "zbuffer"}, {"FILLMODE", R, 8, E, "fill"}, {"SHADEMODE", R, 9, E, "shade"},
    {"ZWRITEENABLE", R, 14, B, nullptr}, {"ALPHATESTENABLE", R, 15, B, nullptr},
    {"LASTPIXEL", R, 16, B, nullptr}, {"SRCBLEND", R, 19, E, "blend"}, {"DESTBLEND", R, 20, E, "blend"},
    {"CULLMODE", R, 22, E, "cull"}, {"ZFUNC", R, 23, E, "cmp"}, {"ALPHAREF", R, 24, I, nullptr},
    {"ALPHAFUNC", R, 25, E, "cmp"}, {"DITHERENABLE", R, 26, B, nullptr},
    {"ALPHABLENDENABLE", R, 27, B, nullptr}, {"FOGENABLE", R, 28, B, nullptr},
    {"SPECULARENABLE", R, 29, B, nullptr}, {"FOGCOLOR", R, 34, I, nullptr},
    {"FOGTABLEMODE", R, 35, E, "fog"}, {"FOGSTART", R, 36, F, nullptr}, {"FOGEND", R, 37, F, nullptr},
    {"FOGDENSITY", R, 38, F, nullptr}, {"RANGEFOGENABLE", R, 48, B, nullptr},
    {"STENCILENABLE", R, 52, B, nullptr}, {"STENCILFAIL", R, 53, E, "stencilop"},
    {"STENCILZFAIL", R, 54, E, "stencilop"}, {"STENCILPASS", R, 55, E, "stencilop"},
    {"STENCILFUNC", R, 56, E, "cmp"}, {"STENCILREF", R, 57, I, nullptr},
    {"STENCILMASK", R, 58, I, nullptr}, {"STENCILWRITEMASK", R, 59, I, nullptr},
    {"TEXTUREFACTOR", R, 60, I, nullptr}, {"WRAP0", R, 128, I, nullptr}, {"WRAP1", R, 129, I, nullptr},
    {"WRAP2", R, 130, I, nullptr}, {"WRAP3", R, 131, I, nullptr}, {"WRAP4", R, 132, I, nullptr},
    {"WRAP5", R, 133, I, nullptr}, {"WRAP6", R, 134, I, nullptr}, {"WRAP7", R, 135, I, nullptr},
    {"CLIPPING", R, 136, B, nullptr}, {"LIGHTING", R, 137, B, nullptr}, {"AMBIENT", R, 139, I, nullptr},
    {"FOGVERTEXMODE", R, 140, E, "fog"}, {"COLORVERTEX", R, 141, B, nullptr},
    {"LOCALVIEWER", R, 142, B, nullptr}, {"NORMALIZENORMALS", R, 143, B, nullptr},
    {"DIFFUSEMATERIALSOURCE", R, 145, E, "mcs"}, {"SPECULARMATERIALSOURCE", R, 146, E, "mcs"},
    {"AMBIENTMATERIALSOURCE", R, 147, E, "mcs"}, {"EMISSIVEMATERIALSOURCE", R, 148, E, "mcs"},
    {"VERTEXBLEND", R, 151, I, nullptr}, {"CLIPPLANEENABLE", R, 152, I, nullptr},
    {"POINTSIZE", R, 154, F, nullptr}, {"POINTSIZE_MIN", R, 155, F, nullptr},
    {"POINTSPRITEENABLE", R, 156, B, nullptr}, {"POINTSCALEENABLE", R, 157, B, nullptr},
    {"POINTSCALE_A", R, 158, F, nullptr}, {"POINTSCALE_B", R, 159, F, nullptr},
    {"POINTSCALE_C", R, 160, F, nullptr}, {"MULTISAMPLEANTIALIAS", R, 161, B, nullptr},
    {"MULTISAMPLEMASK", R, 162, I, nullptr}, {"POINTSIZE_MAX", R, 166, F, nullptr},
    {"COLORWRITEENABLE", R, 168, M, nullptr}, {"TWEENFACTOR", R, 170, F, nullptr},
    {"BLENDOP", R, 171, E, "blendop"}, {"SCISSORTESTENABLE", R, 174, B, nullptr},
    {"SLOPESCALEDEPTHBIAS", R, 175, F, nullptr}, {"ANTIALIASEDLINEENABLE", R, 176, B, nullptr},
    {"TWOSIDEDSTENCILMODE", R, 185, B, nullptr}, {"CCW_STENCILFAIL", R, 186, E, "stencilop"},
    {"CCW_STENCILZFAIL", R, 187, E, "stencilop"}, {"CCW_STENCILPASS", R, 188, E, "stencilop"},
    {"CCW_STENCILFUNC", R, 189, E, "cmp"}, {"COLORWRITEENABLE1", R, 190, M, nullptr},
    {"COLORWRITEENABLE2", R, 191, M, nullptr}, {"COLORWRITEENABLE3", R, 192, M, nullptr},
    {"BLENDFACTOR", R, 193, I, nullptr}, {"SRGBWRITEENABLE", R, 194, B, nullptr},
    {"DEPTHBIAS", R, 195, F, nullptr}, {"SEPARATEALPHABLENDENABLE", R, 206, B, nullptr},
    {"SRCBLENDALPHA", R, 207, E, "blend"}, {"DESTBLENDALPHA", R, 208, E, "blend"},
    {"BLENDOPALPHA", R, 209, E, "blendop"},
    {"ADDRESSU", S, 1, E, "address"}, {"ADDRESSV", S, 2, E, "address"}, {"ADDRESSW", S, 3, E, "address"},
    {"BORDERCOLOR", S, 4, I, nullptr}, {"MAGFILTER", S, 5, E, "filter"}, {"MINFILTER", S, 6, E, "filter"},
    {"MIPFILTER", S, 7, E, "filter"}, {"MIPMAPLODBIAS", S, 8, F, nullptr}, {"MAXMIPLEVEL", S, 9, I, nullptr},
    {"MAXANISOTROPY", S, 10, I, nullptr}, {"SRGBTEXTURE", S, 11, B, nullptr},
    {"COLOROP", T, 1, E, "top"}, {"COLORARG1", T, 2, E, "ta"}, {"COLORARG2", T, 3, E, "ta"},
    {"ALPHAOP", T, 4, E, "top"}, {"ALPHAARG1", T, 5, E, "ta"}, {"ALPHAARG2", T, 6, E, "ta"},
    {"TEXCOORDINDEX", T, 11, I, nullptr}, {"TEXTURETRANSFORMFLAGS", T, 24, I, nullptr},
    {"COLORARG0", T, 26, E, "ta"}, {"ALPHAARG0", T, 27, E, "ta"}, {"RESULTARG", T, 28, E, "ta"},
    {"TEXTURE", State_Kind::Texture, 0, I, nullptr},
    {"SAMPLER", State_Kind::Sampler_Object, 0, I, nullptr},
    {"VERTEXSHADER", State_Kind::Vertex_Shader, 0, I, nullptr},
    {"PIXELSHADER", State_Kind::Pixel_Shader, 0, I, nullptr},
};

struct Named_Value {
    const char* table;
    const char* name;
    uint32_t value;
};

const Named_Value kValues[] = {
    {"zbuffer", "FALSE", 0}, {"zbuffer", "TRUE", 1}, {"zbuffer", "USEW", 2},
    {"fill", "POINT", 1}, {"fill", "WIREFRAME", 2}, {"fill", "SOLID", 3},
    {"shade", "FLAT", 1}, {"shade", "GOURAUD", 2}, {"shade", "PHONG", 3},
    {"blend", "ZERO", 1}, {"blend", "ONE", 2}, {"blend", "SRCCOLOR", 3}, {"blend", "INVSRCCOLOR", 4},
    {"blend", "SRCALPHA", 5}, {"blend", "INVSRCALPHA", 6}, {"blend", "DESTALPHA", 7},
    {"blend", "INVDESTALPHA", 8}, {"blend", "DESTCOLOR", 9}, {"blend", "INVDESTCOLOR", 10},
    {"blend", "SRCALPHASAT", 11}, {"blend", "BOTHSRCALPHA", 12}, {"blend", "BOTHINVSRCALPHA", 13},
    {"blend", "BLENDFACTOR", 14}, {"blend", "INVBLENDFACTOR", 15},
    {"blendop", "ADD", 1}, {"blendop", "SUBTRACT", 2}, {"blendop", "REVSUBTRACT", 3},
    {"blendop", "MIN", 4}, {"blendop", "MAX", 5},
    {"cmp", "NEVER", 1}, {"cmp", "LESS", 2}, {"cmp", "EQUAL", 3}, {"cmp", "LESSEQUAL", 4},
    {"cmp", "GREATER", 5}, {"cmp", "NOTEQUAL", 6}, {"cmp", "GREATEREQUAL", 7}, {"cmp", "ALWAYS", 8},
    {"cull", "NONE", 1}, {"cull", "CW", 2}, {"cull", "CCW", 3},
    {"fog", "NONE", 0}, {"fog", "EXP", 1}, {"fog", "EXP2", 2}, {"fog", "LINEAR", 3},
    {"stencilop", "KEEP", 1}, {"stencilop", "ZERO", 2}, {"stencilop", "REPLACE", 3},
    {"stencilop", "INCRSAT", 4}, {"stencilop", "DECRSAT", 5}, {"stencilop", "INVERT", 6},
    {"stencilop", "INCR", 7}, {"stencilop", "DECR", 8},
    {"mcs", "MATERIAL", 0}, {"mcs", "COLOR1", 1}, {"mcs", "COLOR2", 2},
    {"address", "WRAP", 1}, {"address", "MIRROR", 2}, {"address", "CLAMP", 3},
    {"address", "BORDER", 4}, {"address", "MIRRORONCE", 5},
    {"filter", "NONE", 0}, {"filter", "POINT", 1}, {"filter", "LINEAR", 2},
    {"filter", "ANISOTROPIC", 3}, {"filter", "PYRAMIDALQUAD", 6}, {"filter", "GAUSSIANQUAD", 7},
    {"top", "DISABLE", 1}, {"top", "SELECTARG1", 2}, {"top", "SELECTARG2", 3}, {"top", "MODULATE", 4},
    {"top", "MODULATE2X", 5}, {"top", "MODULATE4X", 6}, {"top", "ADD", 7}, {"top", "ADDSIGNED", 8},
    {"top", "ADDSIGNED2X", 9}, {"top", "SUBTRACT", 10}, {"top", "ADDSMOOTH", 11},
    {"top", "BLENDDIFFUSEALPHA", 12}, {"top", "BLENDTEXTUREALPHA", 13},
    {"top", "BLENDFACTORALPHA", 14}, {"top", "BLENDCURRENTALPHA", 16}, {"top", "DOTPRODUCT3", 24},
    {"top", "MULTIPLYADD", 25}, {"top", "LERP", 26},
    {"ta", "DIFFUSE", 0}, {"ta", "CURRENT", 1}, {"ta", "TEXTURE", 2}, {"ta", "TFACTOR", 3},
    {"ta", "SPECULAR", 4}, {"ta", "TEMP", 5}, {"ta", "CONSTANT", 6},
    {"mask", "RED", 1}, {"mask", "GREEN", 2}, {"mask", "BLUE", 4}, {"mask", "ALPHA", 8},
    {"bool", "TRUE", 1}, {"bool", "FALSE", 0},
};

// Effect files may spell values with the SDK's prefix: D3DBLEND_SRCALPHA, D3DCMP_LESS, ...
std::string without_prefix(const std::string& name) {
    static const char* const prefixes[] = {"D3DRS_", "D3DSAMP_", "D3DTSS_", "D3DBLENDOP_", "D3DBLEND_",
                                           "D3DCMP_", "D3DCULL_", "D3DFILL_", "D3DSHADE_", "D3DFOG_",
                                           "D3DSTENCILOP_", "D3DMCS_", "D3DTADDRESS_", "D3DTEXF_",
                                           "D3DTOP_", "D3DTA_", "D3DZB_", "D3DCOLORWRITEENABLE_"};
    for (const char* p : prefixes)
        if (strncasecmp(name.c_str(), p, strlen(p)) == 0) return name.substr(strlen(p));
    return name;
}

}  // namespace

bool find_state(const std::string& name, State_Info& info) {
    std::string n = without_prefix(name);
    for (const Named_State& s : kStates) {
        if (strcasecmp(s.name, n.c_str()) == 0) {
            info = {s.kind, s.id, s.value, s.table};
            return true;
        }
    }
    return false;
}

bool find_state_value(const char* table, const std::string& name, uint32_t& value) {
    std::string n = without_prefix(name);
    for (const Named_Value& v : kValues) {
        if (strcmp(v.table, table) == 0 && strcasecmp(v.name, n.c_str()) == 0) {
            value = v.value;
            return true;
        }
    }
    return false;
}

}  // namespace orvex_fx
