// The switchable hard disk's events: its power changed (the HDD icon and its
// picture) and its key (the HDD dialog), and the main window's answer to the
// dialog's Yes.
#include "tray/core/CalvexDlg.h"
#include "tray/dialogs/KvSysHDDDlg.h"
#include "tray/firmware/EcCommands.h"
#include "tray/osd/osd_kind.h"

void CCalvexDlg::HddIconEvent() {
  WriteLog(1, "It's HDD Icon WMIevent");
  if (GetHddFlag(0)) {
    SetHddTrayIcon(1);
    WriteLog(2, "Get HDD's Flag in EC's rom : Enable");
    ShowOsd(static_cast<int>(m_bBrightnessOsdUp ? OsdKind::Icon3 : OsdKind::Icon), -1, 17, 0);
  } else {
    SetHddTrayIcon(0);
    WriteLog(2, "Get HDD's Flag in EC's rom : Disable");
    ShowOsd(static_cast<int>(OsdKind::Icon), -1, 18, 0);
  }
}

void CCalvexDlg::HddKeyEvent() {
  WriteLog(1, "It's HDD Dialog WMIevent");
  if (!m_bHddControl || m_bHddDlgOpen) return;
  m_bHddDlgOpen = true;
  CKvSysHDDDlg dialog(m_hWnd);
  dialog.DoModal();
  // A dialog that could not be made never clears the flag itself.
  m_bHddDlgOpen = false;
  WriteLog(2, "Open HDD Dialog");
}

LRESULT CCalvexDlg::OnHddDialogDone(WPARAM wParam, LPARAM) {
  if (wParam == 1) PostMessageA(g_hHddDlg, WM_HDD_DIALOG_CLOSE, 1, 0);
  return 1;
}
