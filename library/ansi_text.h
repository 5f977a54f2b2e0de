// Text between the ANSI code page of the library's narrow buffers and the UTF-16 of
// WMI, converted with the system's calls, and bounded copies that never split a
// character.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace orv::lib {

using WideString = std::basic_string<WCHAR>;

// The UTF-16 form of narrow text (empty for NULL).
WideString AnsiToWide(const char* narrow);

// Writes the narrow form of count characters of wide into dst of dstSize bytes,
// NUL-terminated, leaving out the characters that do not fit whole. Returns the
// bytes written without the terminator.
std::size_t WideToAnsiBounded(const WCHAR* wide, std::size_t count, char* dst, std::size_t dstSize);

// Copies narrow text into dst of dstSize bytes in the same way.
std::size_t CopyAnsiBounded(char* dst, std::size_t dstSize, const char* src);

}  // namespace orv::lib
