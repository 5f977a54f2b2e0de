// The system's power schemes as a test reads and sets them, through the real
// power-scheme calls, and the ECO profiles' identifiers.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace orv::test {

// Gaming, Movie, Presentation, Office, TurboBattery.
extern const GUID kEcoProfiles[5];
extern const char* const kEcoProfileFiles[5];  // "Gaming.eps", ...

std::vector<GUID> InstalledSchemes();
GUID ActiveScheme();
bool HasScheme(const GUID& scheme);
// How many of the five ECO profiles are installed.
int InstalledProfiles();
// Imports a scheme file (a Windows path) under that GUID; the Win32 error code.
DWORD ImportSchemeAs(const std::string& windowsPath, const GUID& as);

}  // namespace orv::test
