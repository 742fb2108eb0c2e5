#pragma once
// Window frame metrics at 96 dpi, as Windows 10 reports them through AdjustWindowRect: the sizing
// frame of WS_THICKFRAME is 8 pixels on each side (border and padding), a fixed dialog frame 3,
// a plain border 1, and a caption adds 23 above the client area.
#include <windows.h>

// The frame around a client rectangle of this style: left/top negative, right/bottom positive.
RECT win32_frame_of_style(DWORD style);
// The client size of a window of this outer size: outer less the frame, clamped to
// 1..max_side on each axis (sizes no window can have are clamped rather than refused).
SIZE win32_client_size_for_outer(DWORD style, int outer_width, int outer_height, int max_side);
