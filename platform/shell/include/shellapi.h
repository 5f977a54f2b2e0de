// The simulated build's <shellapi.h>: notification-area icons, drawn in the
// simulated taskbar, and the icons of program files.
#pragma once
#include <windows.h>

extern "C" {

#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIM_SETFOCUS 0x00000003
#define NIM_SETVERSION 0x00000004

#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004
#define NIF_STATE 0x00000008
#define NIF_INFO 0x00000010
#define NIF_GUID 0x00000020

typedef struct _NOTIFYICONDATAA {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  CHAR szInfo[256];
  union {
    UINT uTimeout;
    UINT uVersion;
  };
  CHAR szInfoTitle[64];
  DWORD dwInfoFlags;
  GUID guidItem;
  HICON hBalloonIcon;
} NOTIFYICONDATAA, *PNOTIFYICONDATAA;

// NIM_ADD fails for an icon (window and id) that exists, NIM_MODIFY and
// NIM_DELETE for one that does not, as the shell's do. The icon is drawn from
// the HICON's 16 x 16 image (the nearest size its resource has); the area keeps
// its own copy, so the HICON may go afterwards.
BOOL WINAPI Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData);

// The icons of a program file (a PE program or library: its RT_GROUP_ICON
// resources in order) or of an icon file (.ico: its one icon), from nIconIndex
// on: up to nIcons large (32 x 32) and small (16 x 16) icons, which the caller
// destroys with DestroyIcon. Returns the icons extracted; with nIconIndex -1
// and both arrays NULL, the number of icons the file has. A file of another
// kind, or one that does not exist, has none (0).
UINT WINAPI ExtractIconExA(LPCSTR lpszFile, int nIconIndex, HICON* phiconLarge, HICON* phiconSmall, UINT nIcons);

}  // extern "C"
