// The simulated build's <shellapi.h>: notification-area icons, drawn in the
// simulated taskbar, the icons of program files, and starting programs.
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

// ShellExecuteEx: the verbs a program file answers and what the call reports.
#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400
#define SEE_MASK_NOASYNC 0x00000100

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_DLLNOTFOUND 32
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31

typedef struct _SHELLEXECUTEINFOA {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCSTR lpVerb;
  LPCSTR lpFile;
  LPCSTR lpParameters;
  LPCSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  void* lpIDList;
  LPCSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  union {
    HANDLE hIcon;
    HANDLE hMonitor;
  };
  HANDLE hProcess;
} SHELLEXECUTEINFOA, *LPSHELLEXECUTEINFOA;

// Starts a program file of the simulated drives as a process of this machine,
// with the verb "open" (or none): a Windows program image (it begins "MZ") runs
// in the simulation's stand-in for a Windows program, which shows a window
// titled with the program's name on the simulated desktop until it ends; a
// program of this machine (an executable file) runs itself, with lpParameters
// split at blanks. lpDirectory (mapped like any path) is its working folder;
// without one, the folder of the file. The call returns once the program has
// started (or failed to), with hInstApp 42 on success and an SE_ERR_ value
// otherwise: FALSE with ERROR_FILE_NOT_FOUND (a missing file),
// ERROR_PATH_NOT_FOUND (a missing folder or working folder), ERROR_NO_ASSOCIATION
// (another verb, or a file that is no program), ERROR_ACCESS_DENIED, or
// ERROR_INVALID_PARAMETER (a record of another size, no file). With
// SEE_MASK_NOCLOSEPROCESS, hProcess stays NULL: processes have no handles here.
BOOL WINAPI ShellExecuteExA(SHELLEXECUTEINFOA* pExecInfo);

}  // extern "C"
