// Conversions through MultiByteToWideChar and WideCharToMultiByte; a cut is made
// in the UTF-16 text, so it falls between characters in every code page.
#include "library/ansi_text.h"

#include <climits>

namespace orv::lib {
namespace {

bool HighSurrogate(WCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }

// The narrow bytes count wide characters need (0 when they have no narrow form).
int NarrowSize(const WCHAR* wide, std::size_t count) {
  return WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
}

}  // namespace

WideString AnsiToWide(const char* narrow) {
  if (!narrow || !*narrow) return WideString();
  int n = MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
  if (n <= 1) return WideString();
  WideString wide(static_cast<std::size_t>(n), WCHAR());
  MultiByteToWideChar(CP_ACP, 0, narrow, -1, &wide[0], n);
  wide.resize(static_cast<std::size_t>(n - 1));  // without the terminator
  return wide;
}

std::size_t WideToAnsiBounded(const WCHAR* wide, std::size_t count, char* dst, std::size_t dstSize) {
  if (!dst || dstSize == 0) return 0;
  if (count > static_cast<std::size_t>(INT_MAX)) count = static_cast<std::size_t>(INT_MAX);
  // Each character takes at least one byte, so at most dstSize - 1 of them can fit.
  if (count >= dstSize) count = dstSize - 1;
  int bytes = 0;
  while (count > 0) {
    // A surrogate pair is one character: never keep its first half alone.
    if (HighSurrogate(wide[count - 1])) {
      --count;
      continue;
    }
    bytes = NarrowSize(wide, count);
    if (bytes > 0 && static_cast<std::size_t>(bytes) < dstSize) break;
    --count;
    bytes = 0;
  }
  if (count > 0) bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(count), dst, bytes, nullptr, nullptr);
  dst[bytes] = '\0';
  return static_cast<std::size_t>(bytes);
}

std::size_t CopyAnsiBounded(char* dst, std::size_t dstSize, const char* src) {
  WideString wide = AnsiToWide(src);
  return WideToAnsiBounded(wide.c_str(), wide.size(), dst, dstSize);
}

}  // namespace orv::lib
