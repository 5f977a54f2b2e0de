// CDialog: a window made from a dialog template of the program's resources, run
// modally with the system's dialog loop (DoModal) or modeless (Create). The
// dialog procedure binds the object to its window as WM_INITDIALOG arrives;
// from then on WindowProc sees every message.
#pragma once
#include "platform/framework/wnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate = 0, HWND hParent = nullptr);
  ~CDialog() override;

  // Makes the dialog, runs OnInitDialog and the dialog's loop until EndDialog;
  // the window is gone when it returns EndDialog's result (-1 when the dialog
  // cannot be made).
  virtual INT_PTR DoModal();
  // Makes the dialog modeless from a template and runs OnInitDialog; FALSE
  // when it cannot be made.
  BOOL Create(UINT nIDTemplate, HWND hParent = nullptr);
  // A modal dialog ends its loop with the result; a modeless one goes away.
  void EndDialog(int nResult);

  // Binds the dialog's control objects (UpdateData(FALSE)); TRUE gives the
  // focus to the first control.
  virtual BOOL OnInitDialog();
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  // WM_INITDIALOG runs OnInitDialog; the commands IDOK and IDCANCEL run OnOK and
  // OnCancel; the rest goes to the system's dialog handling.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  UINT m_nIDTemplate;
  HWND m_hParent;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  bool m_bModal = false;
};
