// Showing and hiding the on-screen displays, the full-screen watch, and the main
// window's timers.
#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "tray/core/CalvexDlg.h"
#include "tray/osd/KvSysOSD.h"
#include "tray/osd/osd_kind.h"

namespace {

constexpr UINT kOsdPeriod = 2000;
constexpr UINT_PTR kOsdTimer[kOsdKinds + 1] = {0, TIMER_OSD_ICON, TIMER_OSD_LEVEL, TIMER_OSD_CENTER,
                                                 TIMER_OSD_ICON2, TIMER_OSD_BAR, TIMER_OSD_ICON3};

bool ValidKind(int kind) { return kind >= 1 && kind <= kOsdKinds; }

}  // namespace

bool CCalvexDlg::IsFullScreenForeground() const {
  HWND front = GetForegroundWindow();
  if (IsZoomed(front) == 1) return false;  // a maximised window is never full screen
  // The main window lies off-screen, so this is the primary monitor.
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info)) return false;
  RECT client{};
  if (!GetClientRect(front, &client)) return false;
  if (client.right != info.rcMonitor.right || client.bottom != info.rcMonitor.bottom) return false;
  char name[256] = {};
  GetClassNameA(front, name, 255);
  return std::strcmp(name, "WorkerW") != 0 && std::strcmp(name, "Progman") != 0 && std::strcmp(name, "#32769") != 0;
}

void CCalvexDlg::ShowOsd(int kind, int level, int image, int range) {
  if (!ValidKind(kind) || IsFullScreenForeground()) return;
  CKvSysOSD* osd = m_pOsd[kind].get();
  if (!osd) return;
  osd->DrawOSD(kind, level, image, kind == static_cast<int>(OsdKind::Bar) ? range : 0);
  ShowWindow(osd->GetSafeHwnd(), SW_SHOWNOACTIVATE);
  if (kind == static_cast<int>(OsdKind::Level) && image == kPictureSetBrightness) m_bBrightnessOsdUp = true;
  m_nTimer[kind] = SetTimer(m_hWnd, kOsdTimer[kind], kOsdPeriod, nullptr);
}

void CCalvexDlg::HideOsd(int kind) {
  if (!ValidKind(kind)) return;
  if (m_pOsd[kind]) ShowWindow(m_pOsd[kind]->GetSafeHwnd(), SW_HIDE);
  if (kind == static_cast<int>(OsdKind::Level)) m_bBrightnessOsdUp = false;
}

void CCalvexDlg::OnTimer(UINT_PTR id) {
  auto stop = [&](UINT_PTR& stored) {
    KillTimer(m_hWnd, stored);
    stored = 0;
  };
  if (m_nHideMainTimer && id == m_nHideMainTimer) {
    stop(m_nHideMainTimer);
    ShowWindow(m_hWnd, SW_HIDE);
    return;
  }
  // The OSD kinds in the order their timers are compared.
  for (int kind : {2, 1, 3, 4, 5, 6}) {
    if (!m_nTimer[kind] || id != m_nTimer[kind]) continue;
    stop(m_nTimer[kind]);
    if (kind == static_cast<int>(OsdKind::Icon)) m_bWirelessOsdUp = false;
    if (kind == static_cast<int>(OsdKind::Icon2)) m_bBluetoothOsdUp = false;
    HideOsd(kind);
    return;
  }
  if (m_nBrightnessQuietTimer && id == m_nBrightnessQuietTimer) {
    stop(m_nBrightnessQuietTimer);
    m_bBrightnessQuiet = m_bBrightnessQuietTimer = false;
  } else if (m_nAudioQuietTimer && id == m_nAudioQuietTimer) {
    stop(m_nAudioQuietTimer);
    m_bAudioQuiet = m_bAudioQuietTimer = false;
  }
}
