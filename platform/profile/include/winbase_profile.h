// The private profile (initialisation file) calls that the SDK declares in
// winbase.h (a partial header of the simulated build's winbase.h), on Windows
// paths; a bare file name is in "C:\Windows", as on Windows.
#pragma once
#include "windef.h"

extern "C" {

// Copies the value of lpKeyName in lpAppName (or lpDefault, NULL meaning "", less
// its trailing blanks) into lpReturnedString and returns its length. Values are
// trimmed and lose one pair of surrounding quotes; names match without regard to
// case. A text that does not fit is cut to nSize-1 bytes and the answer is
// nSize-1. lpAppName NULL lists the section names, lpKeyName NULL the section's
// key names: each NUL-terminated, a second NUL at the end; a list that does not
// fit is cut, ends in two NULs and answers nSize-2.
DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                      LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);

// Sets key=value in the section, making the section and the file when missing (the
// folder must exist); everything else in the file stays as it was. lpString NULL
// removes the key, lpKeyName NULL the whole section; all three NULL only flushes
// (TRUE). FALSE with ERROR_INVALID_PARAMETER for names or values that would break
// the file's lines (line breaks, '=' in a key, ']' in a section name).
BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);

}  // extern "C"
