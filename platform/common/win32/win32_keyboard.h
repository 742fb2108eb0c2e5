#pragma once
// The keyboard state that GetKeyboardState reports: 256 bytes indexed by virtual-key code, bit
// 0x80 set while the key is down, bit 0x01 toggled at each fresh press. It changes only as key
// and mouse-button messages are retrieved from the queue (as Win32 does), or when a headless test
// sets it. Left and right shift, control and alt keep their own codes and the generic code is
// down while either side is.
#include <windows.h>

class Win32_Keyboard_State {
public:
    Win32_Keyboard_State() { Reset(); }
    void Reset();
    // Applies one retrieved input message (WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP, WM_[LRM]BUTTONDOWN/UP).
    // side_vk is the side-specific code of a shift, control or alt key (0 for other keys).
    void Apply(UINT message, WPARAM vk, int side_vk);
    // Sets one key directly; a side-specific code also updates its generic code.
    void Set(int vk, bool down);
    bool IsDown(int vk) const { return vk >= 0 && vk < 256 && (state[vk] & 0x80) != 0; }
    // The character a press of vk types with the keys held now, on a US keyboard (Shift, Caps
    // Lock and Control as Windows applies them; Control with a letter gives 1-26); 0 when the
    // key types none. TranslateMessage posts it as WM_CHAR or WM_SYSCHAR.
    int CharacterOf(int vk) const;
    const BYTE* Bytes() const { return state; }

private:
    void Press(int vk, bool fresh);
    void Release(int vk);
    void UpdateGeneric(int generic, int left, int right);
    BYTE state[256];
};
