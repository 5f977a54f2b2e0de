// The power broadcasts of the main window. Suspend prepares the level OSD's
// post-resume quiet time and forgets turbo; resume and the AC/DC setting join
// here with the rest of the power handling.
#include "tray/core/CalvexDlg.h"

LRESULT CCalvexDlg::OnPowerBroadcast(WPARAM wParam, LPARAM) {
  if (wParam == PBT_APMSUSPEND) {
    WriteLog(5, "APMSUSPEND (BoardCast)");
    m_bTurboOn = false;
    m_bBrightnessQuiet = true;
    m_bAudioQuiet = true;
  }
  return TRUE;
}
