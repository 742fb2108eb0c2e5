#pragma once
// Text in kernel32: code pages and their conversions, the lstr* string functions, MAX_PATH and
// the compiler helpers Windows programs use everywhere. Included by <windows.h>; do not include
// it on its own.
//
// The ANSI code page (CP_ACP) of this platform is 1251: A functions read their text in it, as
// a Windows machine set to that code page does. WCHAR text is Unicode (see WCHAR in windows.h).

#define MAX_PATH 260
#define UNREFERENCED_PARAMETER(P) ((void)(P))
#define DBG_UNREFERENCED_PARAMETER(P) ((void)(P))
#define DBG_UNREFERENCED_LOCAL_VARIABLE(V) ((void)(V))
#define ARRAYSIZE(a) (sizeof(a) / sizeof((a)[0]))
#define _countof(a) (sizeof(a) / sizeof((a)[0]))

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#ifdef __cplusplus
extern "C" {
#endif

// Code pages known: CP_ACP, CP_OEMCP and CP_THREAD_ACP (all 1251 here), 1251 and CP_UTF8; any
// other fails. A length of -1 converts up to and including the NUL; otherwise exactly that many
// units. With a zero-sized destination the answer is the size needed; otherwise the units
// written, or 0 when they do not fit. A character the code page lacks becomes lpDefaultChar
// (or '?') and sets *lpUsedDefaultChar; malformed UTF-8 becomes U+FFFD.
int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar);
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar);

// Lengths in characters, without the NUL; 0 for NULL.
int WINAPI lstrlenA(LPCSTR lpString);
int WINAPI lstrlenW(LPCWSTR lpString);
// Unbounded copies and appends, as Windows has them: the caller answers for the room.
LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2);
LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2);
LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2);
LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2);
// Comparisons by character value (the i forms fold ASCII case): < 0, 0, > 0.
int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);
int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2);
int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);
int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2);

#ifdef __cplusplus
}
#endif
