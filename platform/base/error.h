// The thread's last error and the Win32 error numbers, for the platform's own
// code that names them inside its namespace orv::win.
#pragma once
#include "platform/base/types.h"

namespace orv::win {
using ::GetLastError;
using ::SetLastError;
}  // namespace orv::win
