// CKvSysOPDlg: the overheat protection dialog. It asks for the AC adaptor; for
// S4 stage 1 it closes itself after ten seconds, for S4 stage 2 it counts down
// ten seconds and then hibernates, for S3 it only says that the system will sleep.
#pragma once
#include <windows.h>

#include "platform/framework/dialog.h"
#include "tray/resources/resource.h"

// WM_OVERHEAT_AC_RESTORED (tray/core/CalvexDlg.h), sent by the main window when AC
// power returns: wParam 1 ends a stage-1 countdown, 2 a stage-2 countdown, and
// the dialog closes. Answers 1.

// The open overheat dialog's window (the innermost, when several are open).
extern HWND g_hOverheatDlg;

class CKvSysOPDlg : public CDialog {
 public:
  static constexpr UINT IDD = IDD_OVERHEAT;
  enum Kind { kS4Stage1 = 1, kS4Stage2 = 2, kS3 = 3 };
  static constexpr UINT_PTR kStage2TimerId = 100, kStage1TimerId = 101;

  explicit CKvSysOPDlg(HWND parent = nullptr);
  ~CKvSysOPDlg() override;

  // Runs the dialog of this kind modally and answers its result.
  virtual INT_PTR DoModalKind(int kind);

  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // One second of a countdown; at 0 it ends the dialog.
  void Tick(int* left, UINT_PTR timerId, UINT_PTR* timer, bool hibernate);
  void ShowSeconds(int seconds);
  // The main window's open flag of this dialog's kind (kinds 1 and 2), cleared
  // whichever way the dialog ends, so that a dialog closed with Esc, or an inner
  // one told of AC power meant for the outer, cannot leave it set.
  void ClearOpenFlag();

  int m_kind = 0;
  int m_stage1Left = 10;
  int m_stage2Left = 10;
  UINT_PTR m_stage1Timer = 0;
  UINT_PTR m_stage2Timer = 0;
  HWND m_hOuterDlg = nullptr;  // g_hOverheatDlg before this dialog opened
};
