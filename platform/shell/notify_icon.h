// Notification-area icons, as Shell_NotifyIcon, drawn in the simulated taskbar.
#pragma once
#include "platform/gfx/sim/surface.h"
#include "platform/ui/messages.h"

namespace orv::win {

// An icon: a picture the caller keeps alive while any icon uses it.
using HICON = const gfx::Surface*;

constexpr DWORD NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1, NIF_ICON = 0x2, NIF_TIP = 0x4;

struct NOTIFYICONDATAA {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  char szTip[128];
};

// NIM_ADD fails for an icon that exists, NIM_MODIFY and NIM_DELETE for one that
// does not, as the shell's do.
BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data);

}  // namespace orv::win
