// CKvSysAboutDlg: the About dialog of the tray menu. It shows the installed
// product version, the firmware's ASL version and, on the maker's own BIOS, the
// copyright line; while it is open Ctrl+Alt+S switches the diagnostic log.
#pragma once
#include <windows.h>

#include "platform/framework/dialog.h"
#include "tray/resources/resource.h"

class CKvSysAboutDlg : public CDialog {
 public:
  static constexpr UINT IDD = IDD_ABOUTBOX;
  explicit CKvSysAboutDlg(HWND parent = nullptr);
  ~CKvSysAboutDlg() override;

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Control 1024 under the icon: "Logging" while the log is on.
  void ShowLogging();

  CWnd m_logging;
};

// The copyright holder line shown on the maker's own machines.
constexpr const char* kCopyrightHolder = "Orv Corporation. All rights reserved.";
