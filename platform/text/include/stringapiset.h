// Conversion between narrow text and UTF-16 (stringapiset.h of the Windows SDK, with
// the code page and flag constants of winnls.h), for the simulated build. The ANSI
// code page of this machine is UTF-8: CP_ACP, CP_OEMCP and CP_THREAD_ACP convert as
// UTF-8 does, except that a UTF-16 unit with no narrow form (a lone surrogate) becomes
// the default character, as it would in a code page that lacks it.
#pragma once
#include <windef.h>

typedef const CHAR* LPCCH;
typedef const WCHAR* LPCWCH;

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_COMPOSITECHECK 0x00000200
#define WC_NO_BEST_FIT_CHARS 0x00000400

extern "C" {

// Converts cbMultiByte bytes (a negative count: up to and with the terminating NUL)
// into lpWideCharStr of cchWideChar characters. Returns the characters written, or
// with cchWideChar 0 the characters needed; 0 on failure with the last error:
// ERROR_INSUFFICIENT_BUFFER, ERROR_NO_UNICODE_TRANSLATION (malformed input with
// MB_ERR_INVALID_CHARS; without it a malformed sequence becomes U+FFFD),
// ERROR_INVALID_FLAGS, or ERROR_INVALID_PARAMETER (no input, a count of 0, an unknown
// code page, overlapping buffers).
int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar);

// The reverse, counted in bytes. For the ANSI code pages a character without a narrow
// form becomes lpDefaultChar (or '?') and sets *lpUsedDefaultChar; for CP_UTF8 it
// becomes U+FFFD, both default-character arguments must be NULL, and
// WC_ERR_INVALID_CHARS makes it a failure (ERROR_NO_UNICODE_TRANSLATION).
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                               LPBOOL lpUsedDefaultChar);

}  // extern "C"
