// Win32 error numbers of pipes, waits and services that the base layer does not
// define, errno translation, and memory handed to callers (LocalAlloc/LocalFree).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/base/error.h"

namespace orv::pipe {
using namespace orv::win;


// The nearest Win32 error number for an errno value.
DWORD Win32FromErrno(int err);

// Memory handed to the caller (security descriptors, message texts), released
// with LocalFree as on Windows.
using HLOCAL = void*;
constexpr UINT LMEM_FIXED = 0x0000;
constexpr UINT LMEM_ZEROINIT = 0x0040;
constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;
HLOCAL LocalAlloc(UINT flags, std::size_t bytes);
HLOCAL LocalFree(HLOCAL memory);

}  // namespace orv::pipe
