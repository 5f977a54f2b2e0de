// The simulated build's <securitybaseapi.h>: the privileges of an access token,
// and security descriptors.
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

// An empty descriptor (no access list: it admits everyone) in the caller's memory
// of at least SECURITY_DESCRIPTOR_MIN_LENGTH bytes. ERROR_UNKNOWN_REVISION for a
// revision other than SECURITY_DESCRIPTOR_REVISION.
BOOL WINAPI InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR pSecurityDescriptor, DWORD dwRevision);

}  // extern "C"
