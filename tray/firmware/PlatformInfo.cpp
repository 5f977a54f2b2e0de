// Platform identification through command strings, and the installation's settings file.
#include "tray/firmware/PlatformInfo.h"

#include <windows.h>

#include "platform/base/unique_handle.h"
#include "tray/firmware/EcCommands.h"
#include "tray/ui/LanguageTable.h"

namespace {
constexpr const char kMakerMark[] = "QT";
constexpr std::size_t kSettingsValue = 512;
}  // namespace

std::string GetAslVersion() {
  std::string reply;
  return SendEcCommand("root\\WMI:Q:Orv_AP:AP:1", &reply) ? reply : std::string();
}

bool IsMakerBios() {
  std::string reply;
  return SendEcCommand("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0", &reply) && HasMakerMark(reply);
}

bool HasMakerMark(const std::string& version) {
  const std::string head = version.substr(0, 8);
  if (head.size() < 2) return false;
  return head.compare(head.size() - 2, 2, kMakerMark) == 0;
}

bool ReadUserDefineIni(std::string& path) {
  const std::string folder = GetShortProgramFolder();
  if (folder.empty()) return false;
  const std::string file = folder + "UserDefine.ini";
  WIN32_FIND_DATAA found{};
  orv::unique_hfind find(FindFirstFileA(file.c_str(), &found));
  char value[kSettingsValue] = {};
  GetPrivateProfileStringA("QZL", "QZL", "", value, sizeof value, file.c_str());
  if (!find) return false;
  path = value;
  return true;
}
