// lstrcmpiA on the ANSI code page of this machine (UTF-8).
#include <windows.h>

#include <cctype>

extern "C" int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
  const auto* a = reinterpret_cast<const unsigned char*>(lpString1 ? lpString1 : "");
  const auto* b = reinterpret_cast<const unsigned char*>(lpString2 ? lpString2 : "");
  for (;; ++a, ++b) {
    int x = *a < 0x80 ? std::tolower(*a) : *a;
    int y = *b < 0x80 ? std::tolower(*b) : *b;
    if (x != y || x == 0) return x < y ? -1 : x > y ? 1 : 0;
  }
}
