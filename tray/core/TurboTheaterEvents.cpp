// The turbo and theater-mode branches of the firmware event dispatcher. Turbo
// and ECO exclude each other: turbo pressed while ECO is on ends ECO (its scheme
// restored) and then takes the turbo state the firmware reports. Theater mode raises volume and brightness,
// keeping the user's levels to give them back when it ends.
#include <windows.h>

#include <cstdio>

#include "tray/audio/KvVolume.h"
#include "tray/core/CalvexDlg.h"
#include "tray/dialogs/KvSysECODlg.h"
#include "tray/firmware/Brightness.h"
#include "tray/firmware/EcCommands.h"
#include "tray/osd/osd_kind.h"

namespace {

constexpr int kCenter = static_cast<int>(OsdKind::Center);
constexpr int kPictureEcoOff = 5, kPictureTurboOn = 7, kPictureTurboOff = 8;
constexpr int kPictureTheaterOn = 9, kPictureTheaterOff = 10;
constexpr DWORD kTurboAfterEcoMs = 1500;

void WriteNumber(CCalvexDlg& dlg, int level, const char* format, int value) {
  char text[96];
  std::snprintf(text, sizeof text, format, value);
  dlg.WriteLog(level, text);
}

}  // namespace

void CCalvexDlg::TurboEvent(LPARAM state) {
  WriteLog(1, "It's Turbo's WMIevent");
  const bool endsEco = !m_bTurboOn && m_bEcoOn;
  if (endsEco) {
    // ECO is on and turbo off: turbo wins.
    SetEcoFlag(0);
    WriteLog(2, "Set ECO's Flag in EC's rom : Disable");
    if (m_pEcoDlg) m_pEcoDlg->RestoreScheme();
    ShowOsd(kCenter, -1, kPictureEcoOff, 0);
    WriteLog(3, "ECO Enable.  ECO's Statuts : 5");
    m_bEcoOn = false;
    Sleep(kTurboAfterEcoMs);
  }
  // The turbo state is the firmware's: on battery its key leaves turbo off, and
  // the picture must not say otherwise.
  m_bTurboOn = m_bEventCarriesState ? (static_cast<unsigned>(state) & ec::kTurbo) != 0 : IsTurboOn();
  char text[96];
  if (m_bEventCarriesState && !endsEco)
    std::snprintf(text, sizeof text, "Get Turbo's Flag in EC's rom : %s (value : %d)",
                  m_bTurboOn ? "Enable" : "Disable", static_cast<int>(state));
  else
    std::snprintf(text, sizeof text, "Get Turbo's Flag in EC's rom : %s", m_bTurboOn ? "Enable" : "Disable");
  WriteLog(2, text);
  ShowOsd(kCenter, -1, m_bTurboOn ? kPictureTurboOn : kPictureTurboOff, 0);
}

void CCalvexDlg::TheaterEvent() {
  WriteLog(1, "It's Theater's WMIevent");
  int image;
  const char* text;
  if (m_bTheaterOn) {
    if (m_pVolume) m_pVolume->SetVolume(m_nSavedVolume);
    WriteNumber(*this, 2, "Restore Uer Audio's value : %d", m_nSavedVolume);
    SetBrightness(m_nSavedBrightness);
    WriteNumber(*this, 2, "Restore Uer Brightness's value : %d", m_nSavedBrightness);
    SetTheaterFlag(0);
    m_bTheaterOn = false;
    image = kPictureTheaterOff;
    text = "Set Theater mode Flag in EC's rom : Disable";
  } else {
    const int volume = m_pVolume ? m_pVolume->GetVolume() : m_nVolume.load();
    m_nSavedVolume = volume;
    WriteNumber(*this, 2, "Save User Audio's value : %d", volume);
    if (volume < 70) {
      if (m_pVolume) m_pVolume->SetVolume(volume + 30);
      WriteNumber(*this, 2, "Set Audio's value : %d", volume + 30);
    } else {
      if (m_pVolume) m_pVolume->SetVolume(100);
      WriteLog(2, "Set Volume's value : 100");
    }
    const int brightness = GetBrightness();
    m_nSavedBrightness = brightness;
    WriteNumber(*this, 2, "Save User Brightness's value : %d", brightness);
    if (brightness < 80) {
      SetBrightness(brightness + 20);
      WriteNumber(*this, 2, "Set Brightness value : %d", brightness + 20);
    } else {
      SetBrightness(100);
      WriteLog(2, "Set Brightness value : 100");
    }
    SetTheaterFlag(1);
    m_bTheaterOn = true;
    image = kPictureTheaterOn;
    text = "Set Theater mode Flag in EC's rom : Enable";
  }
  WriteLog(2, text);
  ShowOsd(kCenter, -1, image, 0);
}
