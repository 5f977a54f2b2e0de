// The notification-area icons and the keyboard-hook library of the main window.
#include <cstring>

#include "platform/module/module.h"
#include "tray/core/CalvexDlg.h"
#include "tray/core/message_pump.h"

using namespace orv::win;

namespace {

// Icon resources 166 and 167: a disk in green (powered) or grey (off).
orv::gfx::Surface MakeDiskIcon(orv::gfx::Pixel colour) {
  orv::gfx::Surface icon(16, 16, 0);
  for (int y = 3; y < 13; ++y)
    for (int x = 1; x < 15; ++x) icon.At(x, y) = (y == 10 && x > 9 && x < 13) ? 0xFFF2F4F6 : colour;
  return icon;
}

void SetTip(NOTIFYICONDATAA& nid, const char* tip) {
  std::memset(nid.szTip, 0, sizeof nid.szTip);
  std::strncpy(nid.szTip, tip, sizeof nid.szTip - 1);
}

}  // namespace

void CCalvexDlg::AddMainTrayIcon() {
  m_nid.cbSize = 508;
  m_nid.hWnd = m_hWnd;
  m_nid.uID = 1;
  m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
  m_nid.hIcon = &m_hIcon;
  SetTip(m_nid, "Calvex");
  m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  if (Shell_NotifyIconA(NIM_ADD, &m_nid)) m_bMainIconAdded = true;
}

void CCalvexDlg::SetHddTrayIcon(int mode) {
  if (mode < 0 || mode > 3) return;
  if (m_hddEnabledIcon.Empty()) {
    m_hddEnabledIcon = MakeDiskIcon(0xFF5BD36B);
    m_hddDisabledIcon = MakeDiskIcon(0xFF8E949A);
  }
  const bool enabled = mode == 1 || mode == 2;
  m_nid.cbSize = 508;
  m_nid.hWnd = m_hWnd;
  m_nid.uID = 2;
  m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
  m_nid.uFlags = NIF_ICON | NIF_TIP;
  m_nid.hIcon = enabled ? &m_hddEnabledIcon : &m_hddDisabledIcon;
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
  m_hHookLibrary = LoadLibraryA("KvKBHook.dll");
  if (!m_hHookLibrary) return 0;
  using HookFn = void (*)(HMODULE, int, const char*);
  auto hook = reinterpret_cast<HookFn>(GetProcAddress(m_hHookLibrary, "Hook"));
  m_pfnUnHook = reinterpret_cast<void (*)()>(GetProcAddress(m_hHookLibrary, "UnHook"));
  if (hook) hook(m_hHookLibrary, 0, "Calvex");
  return 1;
}

void CCalvexDlg::UnloadHookLibrary() {
  if (!m_hHookLibrary) return;
  if (m_pfnUnHook) m_pfnUnHook();
  FreeLibrary(m_hHookLibrary);
  m_hHookLibrary = nullptr;
  m_pfnUnHook = nullptr;
}

LRESULT CCalvexDlg::OnKbHookMessage(WPARAM, LPARAM lParam) {
  const unsigned scan = (static_cast<unsigned>(lParam) >> 16) & 0xFF;
  // Which level the OSD shows at the ends of the range is decided with the
  // volume and brightness objects; here the key is only noted.
  if (scan == 0x2E || scan == 0x30) WriteLog(5, "Got Volume Up/Down ScanCode");
  else if (scan == 0x77 || scan == 0x78) WriteLog(5, "Got Brightness Up/Down ScanCode");
  PumpPendingMessages();
  return 1;
}
