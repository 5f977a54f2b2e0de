// The notification-area icons and the keyboard-hook library of the main window.
#include <cstring>

#include "platform/framework/app.h"
#include "tray/core/CalvexDlg.h"

namespace {

void SetTip(NOTIFYICONDATAA& nid, const char* tip) {
  std::memset(nid.szTip, 0, sizeof nid.szTip);
  std::strncpy(nid.szTip, tip, sizeof nid.szTip - 1);
}

// An icon of the program's resources (the module keeps it).
HICON ProgramIcon(int id) { return LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id)); }

}  // namespace

void CCalvexDlg::AddMainTrayIcon() {
  m_nid.cbSize = 508;
  m_nid.hWnd = m_hWnd;
  m_nid.uID = 1;
  m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
  m_nid.hIcon = m_hIcon;
  SetTip(m_nid, "Calvex");
  m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  if (Shell_NotifyIconA(NIM_ADD, &m_nid)) m_bMainIconAdded = true;
}

void CCalvexDlg::SetHddTrayIcon(int mode) {
  if (mode < 0 || mode > 3) return;
  const bool enabled = mode == 1 || mode == 2;
  m_nid.cbSize = 508;
  m_nid.hWnd = m_hWnd;
  m_nid.uID = 2;
  m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
  m_nid.uFlags = NIF_ICON | NIF_TIP;
  m_nid.hIcon = ProgramIcon(enabled ? IDI_HDD_ENABLE : IDI_HDD_DISABLE);
  SetTip(m_nid, enabled ? "HDD Enable" : "HDD Disable");
  if (Shell_NotifyIconA(mode >= 2 ? NIM_ADD : NIM_MODIFY, &m_nid) && mode >= 2) m_bHddIconAdded = true;
}

void CCalvexDlg::RemoveTrayIcons() {
  // Both icons go: the shared record names only the last one touched, and the
  // other would otherwise stay behind in the notification area.
  NOTIFYICONDATAA nid = m_nid;
  nid.uFlags = 0;
  for (UINT id : {2u, 1u}) {
    if ((id == 1 && !m_bMainIconAdded) || (id == 2 && !m_bHddIconAdded)) continue;
    nid.uID = id;
    Shell_NotifyIconA(NIM_DELETE, &nid);
  }
  m_bMainIconAdded = m_bHddIconAdded = false;
}

int CCalvexDlg::LoadHookLibrary() {
  m_hHookLibrary.reset(LoadLibraryA("KvKBHook.dll"));
  if (!m_hHookLibrary) return 0;
  using HookFn = void (*)(HMODULE, int, const char*);
  // Through void (*)(): an export's address has no type of its own.
  auto hook = reinterpret_cast<HookFn>(reinterpret_cast<void (*)()>(GetProcAddress(m_hHookLibrary.get(), "Hook")));
  m_pfnUnHook = reinterpret_cast<void (*)()>(GetProcAddress(m_hHookLibrary.get(), "UnHook"));
  if (hook) hook(m_hHookLibrary.get(), 0, "Calvex");
  return 1;
}

void CCalvexDlg::UnloadHookLibrary() {
  if (!m_hHookLibrary) return;
  if (m_pfnUnHook) m_pfnUnHook();
  m_pfnUnHook = nullptr;
  m_hHookLibrary.reset();
}
