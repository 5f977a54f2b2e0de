// Shell_NotifyIcon over the simulated taskbar's notification area, which draws
// each icon from the 16 x 16 image of its HICON.
#include <shellapi.h>

#include <cstring>
#include <string>

#include "platform/desktop/sim/taskbar.h"
#include "platform/ui/sim/icon.h"

namespace {

constexpr int kIconSize = 16;

bool Exists(HWND owner, UINT id) {
  for (const auto& icon : orv::desktop::NotifyIcons())
    if (icon.owner == owner && icon.id == id) return true;
  return false;
}

orv::gfx::Surface Picture(HICON icon) {
  orv::ui::IconPixels pixels;
  if (!icon || !orv::ui::IconImage(icon, kIconSize, &pixels)) return orv::gfx::Surface(kIconSize, kIconSize);
  orv::gfx::Surface picture(pixels.width, pixels.height, 0);
  picture.pixels.assign(pixels.argb.begin(), pixels.argb.end());
  return picture;
}

}  // namespace

extern "C" {

BOOL WINAPI Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData) {
  if (!lpData || !lpData->hWnd) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool exists = Exists(lpData->hWnd, lpData->uID);
  switch (dwMessage) {
    case NIM_ADD:
    case NIM_MODIFY: {
      if ((dwMessage == NIM_ADD) == exists) return FALSE;
      orv::gfx::Surface picture = Picture((lpData->uFlags & NIF_ICON) ? lpData->hIcon : nullptr);
      std::string tip = (lpData->uFlags & NIF_TIP)
                            ? std::string(lpData->szTip, strnlen(lpData->szTip, sizeof lpData->szTip))
                            : std::string();
      orv::desktop::SetNotifyIcon(lpData->hWnd, lpData->uID, picture, tip);
      return TRUE;
    }
    case NIM_DELETE:
      return orv::desktop::RemoveNotifyIcon(lpData->hWnd, lpData->uID) ? TRUE : FALSE;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

}  // extern "C"
