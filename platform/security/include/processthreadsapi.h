// The simulated build's <processthreadsapi.h>: the calling process and its
// access token.
#pragma once
#include "windef.h"

extern "C" {

// The pseudo handle of the calling process, (HANDLE)-1 as on Windows; it needs no closing.
HANDLE WINAPI GetCurrentProcess(void);
// The process's token (only the calling process's here: ERROR_INVALID_HANDLE for
// another); the handle carries the access asked for. Close it with CloseHandle.
BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle);

}  // extern "C"
