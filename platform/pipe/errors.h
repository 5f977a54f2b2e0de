// The nearest Win32 error number for an errno value.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/base/error.h"

namespace orv::pipe {
using namespace orv::win;


// The nearest Win32 error number for an errno value.
DWORD Win32FromErrno(int err);

}  // namespace orv::pipe
