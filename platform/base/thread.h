// Identities of the calling thread and process, as Win32 numbers them.
#pragma once
#include "platform/base/types.h"

namespace orv::win {

DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();

}  // namespace orv::win
