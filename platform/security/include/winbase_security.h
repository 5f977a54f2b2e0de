// The privilege names that the SDK declares in winbase.h (a partial header of the
// simulated build's winbase.h).
#pragma once
#include "windef.h"

extern "C" {

// Only the shutdown privilege (SE_SHUTDOWN_NAME) is known here: others give FALSE
// with ERROR_NO_SUCH_PRIVILEGE. lpSystemName is ignored (this machine).
BOOL WINAPI LookupPrivilegeValueA(LPCSTR lpSystemName, LPCSTR lpName, PLUID lpLuid);

}  // extern "C"
