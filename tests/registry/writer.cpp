// Test helper: stores "<tag>-<n>" padded to a few kilobytes as value <name> of
// HKCU\Software\Orv\Test, for n = 0..count-1 (forever when count is 0), and a
// marker value per write so that lost updates show.
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  std::string name = argv[1], tag = argv[2];
  long count = std::atol(argv[3]);
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orv\\Test", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  for (long n = 0; count == 0 || n < count; ++n) {
    std::string text = tag + "-" + std::to_string(n) + std::string(4000, 'x');
    if (RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS) {
      return 1;
    }
    if (count) {
      std::string marker = tag + "#" + std::to_string(n);
      if (RegSetValueExA(key, marker.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2) != ERROR_SUCCESS) {
        return 1;
      }
    }
  }
  RegCloseKey(key);
  return 0;
}
