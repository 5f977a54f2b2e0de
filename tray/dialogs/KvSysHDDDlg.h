// CKvSysHDDDlg: the shaped confirmation dialog of the HDD key. Its picture
// warns that going on switches the hard disk off for a while, turns ECO mode
// on and leaves the work to the SSD; Yes switches the disk's power flag off,
// No on, and the dialog closes.
#pragma once
#include <windows.h>

#include "platform/framework/dialog.h"
#include "tray/resources/resource.h"
#include "tray/ui/KvHDDButton.h"
#include "tray/ui/MemDC.h"

// The key colour of the background bitmaps: what the window's shape leaves out.
constexpr COLORREF kHddKeyColour = RGB(0, 255, 0);

class CKvSysHDDDlg : public CDialog {
 public:
  static constexpr UINT IDD = IDD_HDD_DIALOG;
  explicit CKvSysHDDDlg(HWND parent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnYes();
  void OnNo();
  void SetBackgroundBitmap(UINT nIDResource);

  CKvHDDButton m_btnYes;
  CKvHDDButton m_btnNo;
  CBitmapDC m_bgDC;
  int m_bgWidth = 0;
  int m_bgHeight = 0;
};

// The open HDD dialog's window, for the main window's answer.
extern HWND g_hHddDlg;
