#pragma once
// Bounded string functions: copy, append, format and measure into a buffer of known size, never
// past it, always ending the text with a NUL. Cch functions count characters, Cb functions
// bytes. Results:
//   S_OK                             the whole text fit
//   STRSAFE_E_INSUFFICIENT_BUFFER    it did not: the buffer holds as much as fits, NUL-ended
//   STRSAFE_E_INVALID_PARAMETER      a null buffer or source, or a size of 0 or past
//                                    STRSAFE_MAX_CCH (the buffer is left alone)
// Formats are Windows' own: in a W function %s and %c take WCHAR text and %S, %C, %hs narrow
// text; in an A function the other way round; %ls and %ws are WCHAR in both, and I64 is the
// 64-bit size prefix.
#include <stdarg.h>

#include <windows.h>

#define STRSAFE_MAX_CCH 2147483647
#define STRSAFE_E_INSUFFICIENT_BUFFER ((HRESULT)0x8007007AL)
#define STRSAFE_E_INVALID_PARAMETER ((HRESULT)0x80070057L)
#define STRSAFE_E_END_OF_FILE ((HRESULT)0x80070026L)
#define STRSAFEAPI HRESULT WINAPI

#ifdef __cplusplus
extern "C" {
#endif

STRSAFEAPI StringCchCopyA(LPSTR pszDest, size_t cchDest, LPCSTR pszSrc);
STRSAFEAPI StringCchCopyW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc);
// Copies at most cchToCopy characters of pszSrc.
STRSAFEAPI StringCchCopyNA(LPSTR pszDest, size_t cchDest, LPCSTR pszSrc, size_t cchToCopy);
STRSAFEAPI StringCchCopyNW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc, size_t cchToCopy);
// Appends to the text in pszDest; STRSAFE_E_INVALID_PARAMETER when pszDest holds no NUL within
// cchDest.
STRSAFEAPI StringCchCatA(LPSTR pszDest, size_t cchDest, LPCSTR pszSrc);
STRSAFEAPI StringCchCatW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc);
STRSAFEAPI StringCchPrintfA(LPSTR pszDest, size_t cchDest, LPCSTR pszFormat, ...);
STRSAFEAPI StringCchPrintfW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszFormat, ...);
STRSAFEAPI StringCchVPrintfA(LPSTR pszDest, size_t cchDest, LPCSTR pszFormat, va_list argList);
STRSAFEAPI StringCchVPrintfW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszFormat, va_list argList);
// The length without the NUL in *pcchLength (which may be null); STRSAFE_E_INVALID_PARAMETER
// when there is no NUL within cchMax.
STRSAFEAPI StringCchLengthA(LPCSTR psz, size_t cchMax, size_t* pcchLength);
STRSAFEAPI StringCchLengthW(LPCWSTR psz, size_t cchMax, size_t* pcchLength);
STRSAFEAPI StringCbCopyA(LPSTR pszDest, size_t cbDest, LPCSTR pszSrc);
STRSAFEAPI StringCbCopyW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszSrc);
STRSAFEAPI StringCbCatA(LPSTR pszDest, size_t cbDest, LPCSTR pszSrc);
STRSAFEAPI StringCbCatW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszSrc);
STRSAFEAPI StringCbPrintfA(LPSTR pszDest, size_t cbDest, LPCSTR pszFormat, ...);
STRSAFEAPI StringCbPrintfW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszFormat, ...);

#ifdef __cplusplus
}
#endif

#ifdef UNICODE
#define StringCchCopy StringCchCopyW
#define StringCchCopyN StringCchCopyNW
#define StringCchCat StringCchCatW
#define StringCchPrintf StringCchPrintfW
#define StringCchVPrintf StringCchVPrintfW
#define StringCchLength StringCchLengthW
#define StringCbCopy StringCbCopyW
#define StringCbCat StringCbCatW
#define StringCbPrintf StringCbPrintfW
#else
#define StringCchCopy StringCchCopyA
#define StringCchCopyN StringCchCopyNA
#define StringCchCat StringCchCatA
#define StringCchPrintf StringCchPrintfA
#define StringCchVPrintf StringCchVPrintfA
#define StringCchLength StringCchLengthA
#define StringCbCopy StringCbCopyA
#define StringCbCat StringCbCatA
#define StringCbPrintf StringCbPrintfA
#endif
