// The power broadcasts of the main window: suspend prepares the level OSD's
// post-resume quiet time and forgets turbo; automatic resume announces the
// program to the firmware again, rebuilds the tray icons and gives the firmware
// back the ECO and theater modes; the AC/DC setting follows the power source,
// tells an open overheat warning that AC power is back, and marks the change for
// the brightness OSD.
#include <cstring>

#include "tray/core/CalvexDlg.h"
#include "tray/dialogs/KvSysOPDlg.h"
#include "tray/firmware/EcCommands.h"

namespace {

// The first data value of an AC/DC setting record (0 AC, 1 DC, others unknown),
// or -2 when the record is another setting's or its data is not one DWORD.
long AcDcSource(LPARAM lParam) {
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
  if (!setting || setting->PowerSetting != GUID_ACDC_POWER_SOURCE || setting->DataLength != sizeof(DWORD)) return -2;
  DWORD value;
  std::memcpy(&value, setting->Data, sizeof value);
  return static_cast<long>(value);
}

}  // namespace

void CCalvexDlg::OnPowerSettingChange(LPARAM lParam) {
  WriteLog(5, "Power Setting Change in Vista (BoardCast)");
  const long source = AcDcSource(lParam);
  if (source == -2) return;
  WriteLog(5, "\t Power Status Function (AC/DC)");
  if (source == 0) {
    WriteLog(5, "\t\t AC Now !!");
    m_bAcOnline = true;
    // The overheat warnings learn that their countdown is over; the S3 notice stays up.
    if (m_bS4Stage1Open) {
      SendMessageA(g_hOverheatDlg, WM_OVERHEAT_AC_RESTORED, 1, 0);
      m_bS4Stage1Open = false;
    } else if (m_bS4Stage2Open) {
      SendMessageA(g_hOverheatDlg, WM_OVERHEAT_AC_RESTORED, 2, 0);
      m_bS4Stage2Open = false;
    } else if (m_bS3Open) {
      m_bS3Open = false;
    }
  } else if (source == 1) {
    WriteLog(5, "\t\t DC Now !!");
    m_bAcOnline = false;
    m_bTurboOn = false;
  }
  if (m_bAcOnline != m_bLastAcOnline) {
    m_bLastAcOnline = m_bAcOnline;
    m_bPowerSourceChanged = true;
  }
}

void CCalvexDlg::OnResumeAutomatic() {
  WriteLog(5, "APMRESUMEAUTOMATIC (BoardCast)");
  RegisterWithEc();
  WriteLog(5, "\t Register Calvex to EC");
  // Both icons are taken down, not only the one the shared record names last:
  // an icon left up would refuse its re-adding and keep a state from before the sleep.
  RemoveTrayIcons();
  AddMainTrayIcon();
  if (m_bHddControl) SetHddTrayIcon(GetHddFlag(0) ? 2 : 3);
  WriteLog(5, "\t Confirm HDD Function Status");
  if (m_bEcoOn) SetEcoFlag(1);
  WriteLog(5, "\t If ECO mode enable, set ECO mode status in EC (Vista)");
  if (m_bTheaterOn) SetTheaterFlag(1);
  WriteLog(5, "\t If Theater mode enable, set Theater mode status in EC (Vista)");
}

LRESULT CCalvexDlg::OnPowerBroadcast(WPARAM wParam, LPARAM lParam) {
  switch (wParam) {
    case PBT_POWERSETTINGCHANGE:
      OnPowerSettingChange(lParam);
      break;
    case PBT_APMRESUMEAUTOMATIC:
      OnResumeAutomatic();
      break;
    case PBT_APMSUSPEND:
      WriteLog(5, "APMSUSPEND (BoardCast)");
      m_bTurboOn = false;
      m_bBrightnessQuiet = true;
      m_bAudioQuiet = true;
      break;
    default:
      break;
  }
  return TRUE;
}
