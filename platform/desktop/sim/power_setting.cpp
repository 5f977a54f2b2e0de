// The hand-made power-setting broadcast to the desktop's top-level windows.
#include "platform/desktop/sim/power_setting.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

#include "platform/base/sim/guid_text.h"
#include "platform/desktop/sim/power_watch.h"
#include "platform/power/sim/dword_setting.h"

namespace orv::desktop {

bool PowerSettingReply(const std::string& request, std::string* reply) {
  if (request.rfind("POWERSETTING ", 0) != 0) return false;
  const std::size_t blank = request.find(' ', 13);
  power::DwordSetting record{};
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
  for (HWND hwnd : TopLevelWindows())
    SendMessageA(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&record));
  *reply = "OK\n";
  return true;
}

}  // namespace orv::desktop
