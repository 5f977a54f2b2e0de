// CWnd: a C++ object bound to a window. Binding subclasses the window: its
// messages reach the object's WindowProc first, and what the object passes on
// goes to the window's own procedure. A parent hands its controls' drawing
// and colour requests (WM_DRAWITEM, WM_CTLCOLOR*) back to the control's own
// object first (OnChildNotify), so a control class can draw itself. Dialog
// data exchange (UpdateData, DoDataExchange, DDX_Control) binds control
// objects to a dialog's controls. Written on Win32 calls only, so the
// framework is the same code in the Windows build and the simulated one.
#pragma once
#include <windows.h>

#include "platform/framework/dc.h"

class CDataExchange;

class CWnd {
 public:
  CWnd() = default;
  // Unbinds the object and destroys a window still there.
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  // The object bound to a window, or null.
  static CWnd* FromHandlePermanent(HWND hWnd);

  // Binds the object to a window of the calling thread (FALSE when either is
  // bound already); UnsubclassWindow gives the window its own procedure back.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  // The object's message table; the default offers a control's drawing and
  // colour requests to the control's object, then passes every message on.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  DWORD GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
  // Takes the styles out and puts the others in; with nFlags, SetWindowPos
  // tells the window (SWP_FRAMECHANGED and the like).
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

  // Runs the dialog data exchange: bSaveAndValidate FALSE puts the object's
  // values into the controls (and binds control objects), TRUE reads them back.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange*) {}

  // A message of one of this window's controls, offered to the control's
  // object: TRUE when it took it, with the answer in *pResult.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A reflected colour request: a brush, or NULL to leave it to the parent.
  virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

  HWND m_hWnd = nullptr;

 protected:
  // Passes the message to the window's own procedure.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once the window has gone (after WM_NCDESTROY); the object is unbound.
  virtual void PostNcDestroy() {}
  // Called as the object is bound to an existing window, before its messages come here.
  virtual void PreSubclassWindow() {}

 private:
  static LRESULT CALLBACK FrameworkProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  WNDPROC m_pfnSuper = nullptr;
};

// The state of one dialog data exchange.
class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds the control object to the dialog's control of that id, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
