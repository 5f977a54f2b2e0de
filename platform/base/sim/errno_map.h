// The nearest Win32 error number for an errno value, for the simulated backend.
#pragma once
#include <windows.h>

namespace orv::win {

DWORD Win32FromErrno(int err);

}  // namespace orv::win
