#pragma once
// Window classes and windows, messages, keyboard and virtual keys, cursor, message box, device
// contexts and dpi, system time: the part of user32/gdi32/kernel32 the engine calls.
// Included by <windows.h>; do not include it on its own.
