// The file-system calls that the SDK declares in winbase.h (a partial header of
// the simulated build's winbase.h): short path forms and the user's name.
#pragma once
#include "windef.h"

extern "C" {

// The 8.3 short form of an existing path, with GetLongPathNameA's conventions.
DWORD WINAPI GetShortPathNameA(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer);

// The logged-on user's name; *pcbBuffer is the buffer's size in, the length with
// the terminator out. FALSE with ERROR_INSUFFICIENT_BUFFER (and *pcbBuffer the need).
BOOL WINAPI GetUserNameA(LPSTR lpBuffer, LPDWORD pcbBuffer);

}  // extern "C"
