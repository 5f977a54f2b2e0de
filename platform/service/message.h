// FormatMessage for system message texts: the Win32 error numbers this platform
// reports, each text ending in "\r\n" as the system's do.
#pragma once
#include "platform/service/errors.h"

namespace orv::svc {

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x00000400;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;
constexpr DWORD LANG_NEUTRAL = 0x00;
constexpr DWORD SUBLANG_DEFAULT = 0x01;
constexpr DWORD MAKELANGID(DWORD primary, DWORD sub) { return (sub << 10) | primary; }

// Only FORMAT_MESSAGE_FROM_SYSTEM is served. With FORMAT_MESSAGE_ALLOCATE_BUFFER,
// buffer is really a char** that receives LocalAlloc memory (release with
// LocalFree) and size is the minimum to allocate; otherwise the text is copied
// into buffer of size bytes (ERROR_INSUFFICIENT_BUFFER when it does not fit).
// Returns the text's length, or 0 with ERROR_MR_MID_NOT_FOUND for an unknown number.
DWORD FormatMessage(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer, DWORD size,
                    void* arguments);

}  // namespace orv::svc
