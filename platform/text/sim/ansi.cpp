// UTF-8 <-> UTF-16 conversion; malformed input becomes U+FFFD rather than failing,
// as MultiByteToWideChar does without MB_ERR_INVALID_CHARS.
#include "platform/text/sim/ansi.h"

#include <cstring>

namespace orv::text {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the UTF-8 sequence that starts with byte b, 0 if b cannot start one.
int SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::u16string DecodeUtf8(const char* s, std::size_t n, bool* malformed) {
  std::u16string out;
  out.reserve(n);
  bool bad = false;
  for (std::size_t i = 0; i < n;) {
    auto b = static_cast<unsigned char>(s[i]);
    int len = SequenceLength(b);
    char32_t c = 0xFFFD;
    if (len == 1) {
      c = b;
    } else if (len > 1 && i + len <= n) {
      c = b & (0x7F >> len);
      bool ok = true;
      for (int k = 1; k < len; ++k) {
        auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) { ok = false; break; }
        c = (c << 6) | (t & 0x3F);
      }
      if (!ok || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ||
          (len == 3 && c < 0x800) || (len == 4 && c < 0x10000)) {
        c = 0xFFFD;
        len = 1;
        bad = true;
      }
    } else {
      len = 1;
      bad = true;
    }
    i += len;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  if (malformed) *malformed = bad;
  return out;
}

std::string EncodeUtf8(const char16_t* w, std::size_t n, const std::string& replacement, bool* unmapped) {
  std::string out;
  out.reserve(n);
  bool lone = false;
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = w[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (w[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out += replacement;
      lone = true;
      continue;
    }
    AppendUtf8(out, c);
  }
  if (unmapped) *unmapped = lone;
  return out;
}

std::u16string AnsiToWide(const std::string& s) { return DecodeUtf8(s.data(), s.size()); }

std::string WideToAnsi(const std::u16string& w) { return EncodeUtf8(w.data(), w.size(), "?"); }

std::size_t CopyBounded(char* dst, std::size_t dstSize, const char* src) {
  if (dstSize == 0) return 0;
  std::size_t n = src ? std::strlen(src) : 0;
  if (n >= dstSize) {
    n = dstSize - 1;
    // Step back over continuation bytes so the cut falls between characters.
    while (n > 0 && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80) --n;
  }
  if (n) std::memcpy(dst, src, n);
  dst[n] = '\0';
  return n;
}

}  // namespace orv::text
