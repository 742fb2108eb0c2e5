#pragma once
// What the rest of platform/native needs to know about a Win32 window: its SDL window (created
// with SDL_WINDOW_OPENGL, so a GL context can be made on it) and its client size, which is the
// size the device's back buffer defaults to. Also the one place that starts SDL's video.
//
// A window is one SDL window whose size is the client area (SDL has no frame of its own to
// offer), placed so that the client area is where Windows would put it: CreateWindowExA's
// (x, y) is the outer corner, the client starts at (x + 8, y + 31) for WS_OVERLAPPEDWINDOW.
// The GL attributes in force when the window is created choose its X visual: we ask for RGBA8
// with 24-bit depth, 8-bit stencil and double buffering, and no multisampling (a device that
// wants multisampling renders to its own framebuffer). The window cannot be resized by the user:
// the back buffer keeps the size the window was created with.
#include <SDL.h>

#include <windows.h>

// Starts SDL's video (and events) once; false when there is no usable video driver, e.g. no
// display. Safe to call again; it does not retry a failure more than once per process.
bool win32_video_start();
// The SDL window of a live window; nullptr for an invalid handle.
SDL_Window* win32_sdl_window(HWND hwnd);
// The client size of a live window; false for an invalid handle.
bool win32_client_size(HWND hwnd, int* width, int* height);
// The window an SDL window id belongs to; nullptr when none does.
HWND win32_window_of_sdl_id(Uint32 window_id);
// Tells the cursor code where an input event over a window saw the pointer (client coordinates).
// GetCursorPos answers the newest of this and the desktop query: SDL's desktop query on X11 can
// stay at the press point while the button is held and the pointer is captured, when only the
// window's own events still follow it.
void win32_note_cursor(HWND hwnd, int client_x, int client_y);
