// The file-system calls that the SDK declares in winbase.h (a partial header of
// the simulated build's winbase.h): the flags of opened files and pipes, short
// path forms and the user's name.
#pragma once
#include "windef.h"

#define FILE_FLAG_WRITE_THROUGH 0x80000000
#define FILE_FLAG_OVERLAPPED 0x40000000
#define FILE_FLAG_NO_BUFFERING 0x20000000
#define FILE_FLAG_RANDOM_ACCESS 0x10000000
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000
#define FILE_FLAG_FIRST_PIPE_INSTANCE 0x00080000

extern "C" {

// The 8.3 short form of an existing path, with GetLongPathNameA's conventions.
DWORD WINAPI GetShortPathNameA(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer);

// The logged-on user's name; *pcbBuffer is the buffer's size in, the length with
// the terminator out. FALSE with ERROR_INSUFFICIENT_BUFFER (and *pcbBuffer the need).
BOOL WINAPI GetUserNameA(LPSTR lpBuffer, LPDWORD pcbBuffer);

}  // extern "C"
