#include "common/effect/effect_creation.h"

#include <cstring>

namespace orvex_fx {

namespace {

void hand_back(const std::string& messages, LPD3DXBUFFER* errors) {
    if (!errors) return;
    *errors = nullptr;
    if (messages.empty()) return;
    LPD3DXBUFFER buffer = nullptr;
    if (FAILED(D3DXCreateBuffer(static_cast<DWORD>(messages.size() + 1), &buffer)) || !buffer) return;
    memcpy(buffer->GetBufferPointer(), messages.c_str(), messages.size() + 1);
    *errors = buffer;
}

}  // namespace

HRESULT load_effect_file(LPCSTR path, const D3DXMACRO* defines, LPD3DXINCLUDE include, Compiled_Effect& out,
                         LPD3DXBUFFER* errors) {
    std::string text;
    if (!read_text_file(path, text)) {
        hand_back(std::string(path) + ": error: cannot open the effect file\n", errors);
        return D3DXERR_INVALIDDATA;
    }
    std::string messages;
    bool ok = compile_effect(text, path, defines, include, out, messages);
    hand_back(messages, errors);
    return ok ? D3D_OK : D3DXERR_INVALIDDATA;
}

HRESULT load_effect_memory(LPCVOID data, UINT bytes, const D3DXMACRO* defines, LPD3DXINCLUDE include,
                           Compiled_Effect& out, LPD3DXBUFFER* errors) {
    std::string text(static_cast<const char*>(data), bytes);
    std::string messages;
    bool ok = compile_effect(text, "memory", defines, include, out, messages);
    hand_back(messages, errors);
    return ok ? D3D_OK : D3DXERR_INVALIDDATA;
}

}  // namespace orvex_fx
