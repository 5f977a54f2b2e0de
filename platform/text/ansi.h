// Conversion between narrow text in the ANSI code page and UTF-16 strings. On this
// machine the ANSI code page is UTF-8 (the Windows build uses the process's code page).
#pragma once
#include <cstddef>
#include <string>

namespace orv::text {

std::u16string AnsiToWide(const std::string& narrow);
std::string WideToAnsi(const std::u16string& wide);

// Copies src into dst of dstSize bytes, always NUL-terminated when dstSize > 0, cut
// at a character boundary so that no multi-byte character is split. Returns the
// number of bytes copied, without the terminator.
std::size_t CopyBounded(char* dst, std::size_t dstSize, const char* src);

}  // namespace orv::text
