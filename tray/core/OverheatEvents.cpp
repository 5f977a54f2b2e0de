// The overheat alarms' branch of the dispatcher: each stage opens its warning
// dialog unless one of its kind is open already.
#include "tray/core/CalvexDlg.h"
#include "tray/dialogs/KvSysOPDlg.h"

void CCalvexDlg::OverheatEvent(int code) {
  struct Alarm {
    int code;
    const char* firstLine;
    bool CCalvexDlg::*open;
    int kind;
  };
  static const Alarm kAlarms[] = {
      {0x09, "It's Overheat Protection S4 Satge 1 WMIevent", &CCalvexDlg::m_bS4Stage1Open, CKvSysOPDlg::kS4Stage1},
      {0x01, "It's Overheat Protection S4 Satge 2 WMIevent", &CCalvexDlg::m_bS4Stage2Open, CKvSysOPDlg::kS4Stage2},
      {0x0A, "It's Overheat Protection S3 WMIevent", &CCalvexDlg::m_bS3Open, CKvSysOPDlg::kS3},
  };
  for (const Alarm& alarm : kAlarms) {
    if (alarm.code != code) continue;
    WriteLog(1, alarm.firstLine);
    if (this->*alarm.open) return;
    this->*alarm.open = true;
    CKvSysOPDlg dialog;
    dialog.DoModalKind(alarm.kind);
    return;
  }
}
