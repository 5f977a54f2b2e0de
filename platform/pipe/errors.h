// Win32 error numbers of pipes, waits and services that the base layer does not
// define, errno translation, and memory handed to callers (LocalAlloc/LocalFree).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/base/error.h"

namespace orv::pipe {
using namespace orv::win;

constexpr LONG ERROR_GEN_FAILURE = 31;
constexpr LONG ERROR_NOT_SUPPORTED = 50;
constexpr LONG ERROR_BROKEN_PIPE = 109;
constexpr LONG ERROR_SEM_TIMEOUT = 121;
constexpr LONG ERROR_BUSY = 170;
constexpr LONG ERROR_BAD_PIPE = 230;
constexpr LONG ERROR_PIPE_BUSY = 231;
constexpr LONG ERROR_NO_DATA = 232;
constexpr LONG ERROR_PIPE_NOT_CONNECTED = 233;
constexpr LONG ERROR_PIPE_CONNECTED = 535;
constexpr LONG ERROR_PIPE_LISTENING = 536;
constexpr LONG ERROR_OPERATION_ABORTED = 995;
constexpr LONG ERROR_IO_INCOMPLETE = 996;
constexpr LONG ERROR_IO_PENDING = 997;
constexpr LONG ERROR_UNKNOWN_REVISION = 1305;
constexpr LONG ERROR_INVALID_SECURITY_DESCR = 1338;

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
