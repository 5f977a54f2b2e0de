// Shell_NotifyIcon over the simulated taskbar's notification area.
#include "platform/shell/notify_icon.h"

#include <cstring>
#include <string>

#include "platform/base/error.h"
#include "platform/desktop/sim/taskbar.h"

namespace orv::win {
namespace {

bool Exists(HWND owner, UINT id) {
  for (const auto& icon : desktop::NotifyIcons())
    if (icon.owner == owner && icon.id == id) return true;
  return false;
}

}  // namespace

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) {
  if (!data || !data->hWnd) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool exists = Exists(data->hWnd, data->uID);
  switch (message) {
    case NIM_ADD:
    case NIM_MODIFY: {
      if ((message == NIM_ADD) == exists) return FALSE;
      gfx::Surface picture = (data->uFlags & NIF_ICON) && data->hIcon ? *data->hIcon : gfx::Surface(16, 16);
      std::string tip = (data->uFlags & NIF_TIP) ? std::string(data->szTip, strnlen(data->szTip, sizeof data->szTip)) : "";
      desktop::SetNotifyIcon(data->hWnd, data->uID, picture, tip);
      return TRUE;
    }
    case NIM_DELETE:
      return desktop::RemoveNotifyIcon(data->hWnd, data->uID) ? TRUE : FALSE;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

}  // namespace orv::win
