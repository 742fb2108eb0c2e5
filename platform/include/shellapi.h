#pragma once
// Files dropped on a window (shell32). A window created with WS_EX_ACCEPTFILES receives
// WM_DROPFILES, posted, with wParam the HDROP of one drop: every file of it, in the order they
// were dropped. platform/native makes it from SDL's drop events (a drop that SDL frames with
// SDL_DROPBEGIN/SDL_DROPCOMPLETE is one WM_DROPFILES; a lone SDL_DROPFILE is one of its own).
// The receiver reads the names with DragQueryFile and frees the drop with DragFinish.
#include <windows.h>

DECLARE_HANDLE(HDROP);

#ifdef __cplusplus
extern "C" {
#endif

// iFile 0xFFFFFFFF: the number of files. Otherwise, with lpszFile null, the length of file
// iFile's name in characters, its NUL not counted; with lpszFile given, copies at most cch - 1
// characters and a NUL and answers the number copied. 0 for an invalid drop, a file index past
// the last or cch 0. The A form answers names in the ANSI code page (1251; characters it lacks
// become '?'), the W form in UTF-16.
UINT WINAPI DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
UINT WINAPI DragQueryFileW(HDROP hDrop, UINT iFile, LPWSTR lpszFile, UINT cch);
// Frees the drop; the handle is invalid afterwards (a second call does nothing).
VOID WINAPI DragFinish(HDROP hDrop);

#ifdef __cplusplus
}
#endif

#ifndef UNICODE
#define DragQueryFile DragQueryFileA
#endif
