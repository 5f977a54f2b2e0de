// chaos_settings_writer: writes settings for ever, as a program that keeps its
// settings does: the registry value HKCU\Software\Orv\Chaos "Text" and the key
// Text of section [Chaos] of the profile C:\chaos.ini, each "<n>:" + padding + ":<n>"
// for n = 0, 1, 2, ..., so that a torn or mixed value shows. Each pair written is
// reported as a line "<n>" on standard output, so that a test can pick its moment.
#include <cstdio>
#include <string>

#include <windows.h>

#include "platform/base/unique_handle.h"

int main() {
  orv::unique_hkey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orv\\Chaos", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  for (unsigned long n = 0;; ++n) {
    const std::string text = std::to_string(n) + ":" + std::string(3000, 'x') + ":" + std::to_string(n);
    if (RegSetValueExA(key.get(), "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS ||
        !WritePrivateProfileStringA("Chaos", "Text", text.c_str(), "C:\\chaos.ini")) {
      return 1;
    }
    std::printf("%lu\n", n);
    std::fflush(stdout);
  }
}
