// CButton: a button control bound to an object, made by the object (Create) or
// found among a dialog's controls (SubclassDlgItem).
#pragma once
#include "platform/framework/wnd.h"

class CButton : public CWnd {
 public:
  // Makes a child button of the parent with the text, style (BS_*, WS_*),
  // rectangle in the parent's coordinates and id, and binds it.
  BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // Clicks the button as a user would: the parent gets WM_COMMAND with BN_CLICKED.
  void Click();
  // An owner-drawn button's drawing, handed back by its parent.
  virtual void DrawItem(LPDRAWITEMSTRUCT) {}
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
