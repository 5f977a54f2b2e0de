// The simulated build's <securitybaseapi.h>: the privileges of an access token.
#pragma once
#include "windef.h"

extern "C" {

// There is one token per process here, so the privileges' state is the process's;
// only the shutdown privilege is known (see LookupPrivilegeValueA). As on Windows:
// TRUE also when not every privilege could be set, with ERROR_NOT_ALL_ASSIGNED as
// the last error (ERROR_SUCCESS when all were). The token needs
// TOKEN_ADJUST_PRIVILEGES (ERROR_ACCESS_DENIED otherwise). The previous state is
// not kept here: PreviousState must be NULL (ERROR_INVALID_PARAMETER).
BOOL WINAPI AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges, PTOKEN_PRIVILEGES NewState,
                                  DWORD BufferLength, PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength);

}  // extern "C"
