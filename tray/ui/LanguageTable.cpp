// Locating the language table and reading its texts.
#include "tray/ui/LanguageTable.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {
constexpr DWORD kPathSize = 512;
constexpr DWORD kTextSize = 2048;
}  // namespace

std::string GetShortProgramFolder() {
  char path[kPathSize] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, kPathSize);
  if (n == 0 || n >= kPathSize) return std::string();
  char* slash = std::strrchr(path, '\\');
  if (!slash) return std::string();
  slash[1] = '\0';
  DWORD shortLength = GetShortPathNameA(path, path, kPathSize);
  // 0: the folder cannot be found; >= size: its short form does not fit. Either
  // way the long form still names the folder.
  if (shortLength == 0 || shortLength >= kPathSize) {
    GetModuleFileNameA(nullptr, path, kPathSize);
    std::strrchr(path, '\\')[1] = '\0';
  }
  return path;
}

void ResolveLanguageTable(std::string& file, std::string& section) {
  file = GetShortProgramFolder() + "StringTable\\Language.ini";
  section = std::to_string(GetUserDefaultUILanguage());
  if (ReadLanguageString(section, "IDS_USERDEFINE_DOC", file).empty()) section = "1033";
}

std::string ReadLanguageString(const std::string& section, const std::string& key, const std::string& file) {
  char text[kTextSize];
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", text, kTextSize, file.c_str());
  return text;
}
