#pragma once
// Painting: the update region of a window and the WM_PAINT message that asks the window to
// redraw it. Included by <windows.h>; do not include it on its own.
//
// A window's update region is its part that needs drawing. Showing a window, an expose from the
// display (another window moved off it) and InvalidateRect add to it; BeginPaint and
// ValidateRect take from it. While a visible window's region is not empty, PeekMessage and
// GetMessage give a WM_PAINT for it, but only when no posted message, input message or WM_QUIT
// waits: WM_PAINT is never queued, so it never comes twice for one region, however often the
// window was invalidated. Removing the message does not validate: a procedure that neither calls
// BeginPaint/EndPaint, ValidateRect nor DefWindowProc (which does the first) gets it again.
// The region is kept as its bounding rectangle in client coordinates.

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;  // TRUE when the background still needs erasing (WM_ERASEBKGND answered 0)
    RECT rcPaint; // the update region's bounding rectangle, client coordinates
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;

#ifdef __cplusplus
extern "C" {
#endif

// Adds lpRect (NULL = the whole client area), clipped to the client area, to the update region;
// bErase asks BeginPaint to send WM_ERASEBKGND first. hWnd NULL invalidates every window.
// FALSE for an invalid window.
BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
// Takes lpRect (NULL = everything) from the update region: the region is emptied when the
// rectangle covers it, and otherwise kept whole (a bounding rectangle cannot hold a hole).
BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect);
// The update region's bounding rectangle; TRUE when it is not empty. lpRect may be NULL.
BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);
// Starts painting: sends WM_ERASEBKGND when an erase was asked for, fills lpPaint, empties the
// update region and answers the window's device context (NULL for an invalid window).
HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
// Ends what BeginPaint started. Always TRUE for a live window.
BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
// UpdateWindow (declared with the windows) sends WM_PAINT to a visible window at once, past the
// queue, when its update region is not empty; it answers FALSE only for an invalid window.

#ifdef __cplusplus
}
#endif
