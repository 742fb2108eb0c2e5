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
