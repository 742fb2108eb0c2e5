#pragma once
// Generic-text names of the C runtime: _TCHAR and _T() follow _UNICODE as TCHAR and TEXT()
// follow UNICODE, and _tWinMain is the entry point of either kind.
#include <string.h>
#include <wchar.h>

#ifdef _UNICODE
typedef wchar_t _TCHAR;
#define __T(s) L##s
#define _tWinMain wWinMain
#define _tcslen wcslen
#define _tcscpy wcscpy
#define _tcsncpy wcsncpy
#define _tcscat wcscat
#define _tcscmp wcscmp
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#else
typedef char _TCHAR;
#define __T(s) s
#define _tWinMain WinMain
#define _tcslen strlen
#define _tcscpy strcpy
#define _tcsncpy strncpy
#define _tcscat strcat
#define _tcscmp strcmp
#define _tcschr strchr
#define _tcsrchr strrchr
#define _tcsstr strstr
#endif
#define _T(s) __T(s)
#define _TEXT(s) __T(s)
