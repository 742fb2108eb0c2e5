#include "common/win32/win32_keyboard.h"

void Win32_Keyboard_State::Reset() { memset(state, 0, sizeof state); }

void Win32_Keyboard_State::Press(int vk, bool fresh) {
    if (vk <= 0 || vk >= 256) return;
    if (fresh) state[vk] ^= 0x01;
    state[vk] |= 0x80;
}

void Win32_Keyboard_State::Release(int vk) {
    if (vk <= 0 || vk >= 256) return;
    state[vk] &= static_cast<BYTE>(~0x80);
}

void Win32_Keyboard_State::UpdateGeneric(int generic, int left, int right) {
    bool down = IsDown(left) || IsDown(right);
    bool was_down = IsDown(generic);
    if (down && !was_down) state[generic] ^= 0x01;
    if (down) state[generic] |= 0x80;
    else state[generic] &= static_cast<BYTE>(~0x80);
}

void Win32_Keyboard_State::Set(int vk, bool down) {
    if (vk <= 0 || vk >= 256) return;
    if (down) Press(vk, !IsDown(vk));
    else Release(vk);
    UpdateGeneric(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    UpdateGeneric(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    UpdateGeneric(VK_MENU, VK_LMENU, VK_RMENU);
}

int Win32_Keyboard_State::CharacterOf(int vk) const {
    static const struct { int vk; char plain, shifted; } kSymbols[] = {
        {VK_SPACE, ' ', ' '},      {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_COMMA, ',', '<'},  {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
        {VK_OEM_2, '/', '?'},      {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
        {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
        {VK_MULTIPLY, '*', '*'},   {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},
        {VK_DECIMAL, '.', '.'},    {VK_DIVIDE, '/', '/'},
    };
    const bool shift = IsDown(VK_SHIFT);
    // Right Alt is AltGr on many layouts: Control with Alt types what the key types alone.
    const bool control = IsDown(VK_CONTROL) && !IsDown(VK_MENU);
    if (vk >= 'A' && vk <= 'Z') {
        if (control) return vk - 'A' + 1;
        const bool upper = shift != ((state[VK_CAPITAL] & 0x01) != 0);
        return upper ? vk : vk - 'A' + 'a';
    }
    switch (vk) {
    case VK_BACK: return control ? 0x7F : 0x08;
    case VK_TAB: return control ? 0 : '\t';
    case VK_RETURN: return control ? '\n' : '\r';
    case VK_ESCAPE: return 0x1B;
    default: break;
    }
    if (control) return 0;
    if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
    for (const auto& symbol : kSymbols)
        if (symbol.vk == vk) return shift ? symbol.shifted : symbol.plain;
    return 0;
}

void Win32_Keyboard_State::Apply(UINT message, WPARAM vk, int side_vk) {
    int key = static_cast<int>(vk & 0xFF);
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (side_vk) {
            Set(side_vk, true);
        } else {
            Press(key, !IsDown(key));
        }
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (side_vk) Set(side_vk, false);
        else Release(key);
        break;
    case WM_LBUTTONDOWN: Press(VK_LBUTTON, !IsDown(VK_LBUTTON)); break;
    case WM_LBUTTONUP: Release(VK_LBUTTON); break;
    case WM_RBUTTONDOWN: Press(VK_RBUTTON, !IsDown(VK_RBUTTON)); break;
    case WM_RBUTTONUP: Release(VK_RBUTTON); break;
    case WM_MBUTTONDOWN: Press(VK_MBUTTON, !IsDown(VK_MBUTTON)); break;
    case WM_MBUTTONUP: Release(VK_MBUTTON); break;
    default: break;
    }
}
