#pragma once
// The one table from SDL scancodes (physical key positions) to Windows virtual-key codes, for a
// US keyboard layout: the key left of 1 is VK_OEM_3, keypad plus and point are VK_ADD and
// VK_DECIMAL, keypad digits VK_NUMPAD0..9, left and right shift/control/alt apart.
#include <SDL.h>

#include <windows.h>

struct Win32_Key {
    BYTE vk;       // the code a key message carries (VK_SHIFT for either shift key)
    BYTE side_vk;  // VK_LSHIFT / VK_RSHIFT / VK_LCONTROL ... for the sided keys, else 0
    WORD scan;     // the PC keyboard's set-1 scan code; 0xE0xx for extended keys
};

// The key at a scancode; vk = 0 for keys Windows programs never see.
Win32_Key win32_key_of_scancode(SDL_Scancode scancode);
// The lParam of a key message: repeat count 1, scan code, extended bit, previous state bit
// (set for auto-repeat and for key-ups), transition bit (set for key-ups).
LPARAM win32_key_lparam(const Win32_Key& key, bool down, bool repeat);
// Whether the key of this virtual-key code (generic or sided) is held down now.
bool win32_vk_held(int vk, const Uint8* sdl_keyboard_state);
