// CWnd: a C++ object bound to a window. Binding subclasses the window: its
// messages reach the object's WindowProc first, and what the object passes on
// goes to the window's own procedure. Written on Win32 calls only, so the
// framework is the same code in the Windows build and the simulated one.
#pragma once
#include <windows.h>

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

  // The object's message table; the default passes every message on.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;

 protected:
  // Passes the message to the window's own procedure.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once the window has gone (after WM_NCDESTROY); the object is unbound.
  virtual void PostNcDestroy() {}

 private:
  static LRESULT CALLBACK FrameworkProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  WNDPROC m_pfnSuper = nullptr;
};
