// Reading and setting the power schemes for tests.
#include "tests/support/power_schemes.h"

#include <powrprof.h>

namespace orv::test {

const GUID kEcoProfiles[5] = {
    {0x98B32AC9, 0x6345, 0x4AB9, {0xA9, 0x81, 0x0F, 0x0E, 0x39, 0xC0, 0x85, 0x78}},
    {0x0BC57CB5, 0x5E55, 0x4DF1, {0xBA, 0x8D, 0x20, 0xF9, 0x0B, 0x9F, 0x21, 0x3B}},
    {0xC3407F92, 0xA518, 0x430B, {0x94, 0xBF, 0x98, 0x74, 0x57, 0x5E, 0x93, 0x1E}},
    {0xDF8734A4, 0xF9A5, 0x49CF, {0xA3, 0x36, 0xB8, 0xF6, 0xE6, 0x20, 0x78, 0x07}},
    {0xDB5648DC, 0xC820, 0x4FD8, {0xB4, 0x13, 0x2C, 0xCC, 0xD4, 0x8C, 0x27, 0x3F}},
};
const char* const kEcoProfileFiles[5] = {"Gaming.eps", "Movie.eps", "Presentation.eps", "Office.eps",
                                         "TurboBattery.eps"};

std::vector<GUID> InstalledSchemes() {
  std::vector<GUID> out;
  for (ULONG i = 0;; ++i) {
    GUID g{};
    DWORD size = sizeof g;
    if (PowerEnumerate(nullptr, nullptr, nullptr, ACCESS_SCHEME, i, reinterpret_cast<UCHAR*>(&g), &size) !=
        ERROR_SUCCESS)
      return out;
    out.push_back(g);
  }
}

GUID ActiveScheme() {
  GUID* active = nullptr;
  GUID copy{};
  if (PowerGetActiveScheme(nullptr, &active) == ERROR_SUCCESS) copy = *active;
  LocalFree(active);
  return copy;
}

bool HasScheme(const GUID& scheme) {
  for (const GUID& g : InstalledSchemes())
    if (g == scheme) return true;
  return false;
}

int InstalledProfiles() {
  int n = 0;
  for (const GUID& p : kEcoProfiles) n += HasScheme(p);
  return n;
}

DWORD ImportSchemeAs(const std::string& windowsPath, const GUID& as) {
  std::u16string wide(windowsPath.begin(), windowsPath.end());
  GUID target = as;
  GUID* p = &target;
  return PowerImportPowerScheme(nullptr, reinterpret_cast<LPCWSTR>(wide.c_str()), &p);
}

}  // namespace orv::test
