// The framework roles the tray's windows are written in: CDialog (a window run
// modally with its own loop, or modeless), IsDialogMessage, and CWinApp (the
// application object whose InitInstance does the program's work).
#pragma once
#include "platform/dialog/controls.h"
#include "platform/ui/window.h"

namespace orv::win {
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Offers a message to a dialog. Every message for the dialog or one of its
// controls is handled here (TRUE): Esc sends IDCANCEL, Enter the default button's
// id (IDOK without one), Tab moves to the next edit box, other keys become
// characters for the edit box that has the focus; the rest is dispatched.
// FALSE for messages of other windows.
BOOL IsDialogMessageA(HWND dialog, MSG* msg);
}  // namespace orv::win

class CDialog : public orv::win::WindowHandler {
 public:
  // templateId names the dialog's template; size is its window size in pixels.
  CDialog(int templateId, HWND parent, orv::win::RECT rect = {0, 0, 340, 176});
  ~CDialog() override;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Creates the window, runs OnInitDialog and a modal loop until EndDialog;
  // destroys the window and returns the result (-1 when the window cannot be made).
  orv::win::LRESULT DoModal();
  // Creates the window modeless and runs OnInitDialog.
  orv::win::BOOL Create(HWND parent);
  void EndDialog(int result);
  HWND GetSafeHwnd() const { return m_hWnd; }
  int TemplateId() const { return m_templateId; }

  virtual orv::win::BOOL OnInitDialog() { return TRUE; }
  // The dialog's message table; the default answers WM_CLOSE and IDOK/IDCANCEL by
  // ending the dialog and passes the rest to DefWindowProc.
  orv::win::LRESULT WindowProc(HWND hwnd, orv::win::UINT message, orv::win::WPARAM wParam,
                               orv::win::LPARAM lParam) override;

 protected:
  HWND m_hWnd = nullptr;

 private:
  bool MakeWindow(HWND parent);

  int m_templateId;
  HWND m_hParent;
  orv::win::RECT m_rect;
  bool m_bModal = false;
  bool m_bEnded = false;
  int m_nResult = 0;
};

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  virtual orv::win::BOOL InitInstance() { return FALSE; }
  // Runs InitInstance; a FALSE answer ends the program with m_nExitCode.
  int Run();
  CDialog* m_pMainWnd = nullptr;
  int m_nExitCode = 0;
};

// The one application object (set by CWinApp's constructor).
CWinApp* AfxGetApp();
