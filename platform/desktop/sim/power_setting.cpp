// The hand-made power-setting broadcast to the desktop's top-level windows.
#include "platform/desktop/sim/power_setting.h"

#include <windows.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "platform/base/sim/guid_text.h"

namespace orv::desktop {
namespace {

struct DwordSetting {
  GUID PowerSetting;
  DWORD DataLength;
  DWORD Data;
};
static_assert(offsetof(DwordSetting, Data) == offsetof(POWERBROADCAST_SETTING, Data),
              "the record's data follows its length as in POWERBROADCAST_SETTING");

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

}  // namespace

bool PowerSettingReply(const std::string& request, std::string* reply) {
  if (request.rfind("POWERSETTING ", 0) != 0) return false;
  const std::size_t blank = request.find(' ', 13);
  DwordSetting record{};
  char* end = nullptr;
  errno = 0;
  const unsigned long value = blank == std::string::npos ? 0 : std::strtoul(request.c_str() + blank + 1, &end, 0);
  if (blank == std::string::npos || !base::ParseGuid(request.substr(13, blank - 13), &record.PowerSetting) ||
      end == request.c_str() + blank + 1 || *end || errno || value > 0xFFFFFFFFul) {
    *reply = "ERR POWERSETTING takes a setting GUID in braces and a DWORD value\n";
    return true;
  }
  record.DataLength = sizeof(DWORD);
  record.Data = static_cast<DWORD>(value);
  // Sent from the serving thread, not the windows' own, as the system's power
  // broadcasts come; the answer waits until every window has handled it.
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  for (HWND hwnd : windows)
    SendMessageA(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&record));
  *reply = "OK\n";
  return true;
}

}  // namespace orv::desktop
