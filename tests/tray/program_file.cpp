// A program file made from one of the test program's icon groups.
#include "tests/tray/program_file.h"

#include <windows.h>

#include "tools/orv-progfile/pe_image.h"

namespace traytest {
namespace {

std::string ResourceBytes(LPCSTR type, int id) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
  if (!found) return std::string();
  const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  return std::string(data, SizeofResource(nullptr, found));
}

}  // namespace

std::string ProgramFileWithIcon(int id) {
  const std::string group = ResourceBytes(RT_GROUP_ICON, id);
  if (group.size() < 6) return std::string();
  const unsigned count = static_cast<unsigned char>(group[4]) | (static_cast<unsigned char>(group[5]) << 8);
  std::vector<orv::progfile::IconImage> icons;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t at = 6 + i * 14 + 12;
    const auto iconId = static_cast<std::uint16_t>(static_cast<unsigned char>(group[at]) |
                                                   (static_cast<unsigned char>(group[at + 1]) << 8));
    icons.emplace_back(iconId, ResourceBytes(RT_ICON, iconId));
  }
  return orv::progfile::ProgramImage(id, group, icons);
}

}  // namespace traytest
