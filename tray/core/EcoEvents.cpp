// The ECO key's branch of the dispatcher: ECO and turbo exclude each other, and
// each press takes the next step of the ECO cycle with its centre picture.
#include <cstdio>

#include "tray/core/CalvexDlg.h"
#include "tray/dialogs/KvSysECODlg.h"
#include "tray/firmware/Brightness.h"
#include "tray/firmware/EcCommands.h"
#include "tray/osd/osd_kind.h"

namespace {

constexpr int kTurboOffPicture = 8;

void EcoStatusLine(char* text, std::size_t size, bool enabled, int mode) {
  std::snprintf(text, size, enabled ? "ECO Enable.  ECO's Statuts : %d" : "ECO Disable.  ECO's Statuts : %d", mode);
}

}  // namespace

void CCalvexDlg::EcoEvent() {
  WriteLog(1, "It's ECO's WMIevent");
  const int center = static_cast<int>(OsdKind::Center);
  char text[64];
  int mode;
  if (!m_bEcoOn && m_bTurboOn) {
    // ECO wins over turbo.
    m_bTurboOn = false;
    ClearTurbo();
    WriteLog(2, "Set turbo's Flag in EC's rom : Disable");
    ShowOsd(center, -1, kTurboOffPicture, 0);
    SetEcoFlag(1);
    WriteLog(2, "Set ECO's Flag in EC's rom : Enable");
    mode = m_pEcoDlg->NextEcoMode();
    if (mode > 4) return;
    m_bEcoOn = true;
    EcoStatusLine(text, sizeof text, true, mode);
    WriteLog(3, text);
  } else {
    mode = m_pEcoDlg->NextEcoMode();
    const bool on = mode < 5;
    SetEcoFlag(on ? 1 : 0);
    m_bEcoOn = on;
    WriteLog(2, on ? "Set ECO's Flag in EC's rom : Enable" : "Set ECO's Flag in EC's rom : Disable");
    EcoStatusLine(text, sizeof text, on, mode);
    WriteLog(3, text);
  }
  ShowOsd(center, -1, mode, 0);
  // The level decisions hear the panel's own brightness: a report of 0 would
  // record 0 as the last brightness and show step 0 while the panel stays lit.
  SendMessageA(m_hWnd, WM_BRIGHTNESS_CHANGED, static_cast<WPARAM>(GetBrightness()), 0);
}
