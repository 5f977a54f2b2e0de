// GUID text in the braced registry form.
#include "platform/base/sim/guid_text.h"

#include <cstdio>
#include <cstring>

namespace orv::base {

std::string GuidText(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

bool ParseGuid(const std::string& text, GUID* out) {
  // {8-4-4-4-12} hex digits, nothing else.
  static const char kShape[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != sizeof kShape - 1) return false;
  unsigned char bytes[16];
  int nibble = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (kShape[i] != 'X') {
      if (c != kShape[i]) return false;
      continue;
    }
    int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (v < 0) return false;
    if (nibble % 2 == 0) bytes[nibble / 2] = static_cast<unsigned char>(v << 4);
    else bytes[nibble / 2] = static_cast<unsigned char>(bytes[nibble / 2] | v);
    ++nibble;
  }
  out->Data1 = (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) | bytes[3];
  out->Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
  out->Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
  std::memcpy(out->Data4, bytes + 8, 8);
  return true;
}

}  // namespace orv::base
