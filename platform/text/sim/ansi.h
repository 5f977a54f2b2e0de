// The simulation's own conversion between narrow text in this machine's ANSI code
// page (UTF-8) and UTF-16, for the platform's simulated calls; program code converts
// with MultiByteToWideChar and WideCharToMultiByte.
#pragma once
#include <cstddef>
#include <string>

namespace orv::text {

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD and sets *malformed.
std::u16string DecodeUtf8(const char* narrow, std::size_t n, bool* malformed = nullptr);
// UTF-16 to UTF-8; a lone surrogate becomes the bytes of replacement and sets *unmapped.
std::string EncodeUtf8(const char16_t* wide, std::size_t n, const std::string& replacement,
                       bool* unmapped = nullptr);

std::u16string AnsiToWide(const std::string& narrow);
// A lone surrogate, which has no narrow form, becomes '?'.
std::string WideToAnsi(const std::u16string& wide);

// Copies src into dst of dstSize bytes, always NUL-terminated when dstSize > 0, cut
// at a character boundary so that no multi-byte character is split. Returns the
// number of bytes copied, without the terminator.
std::size_t CopyBounded(char* dst, std::size_t dstSize, const char* src);

}  // namespace orv::text
