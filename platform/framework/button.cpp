// CButton over the system's BUTTON class.
#include "platform/framework/button.h"

#include "platform/framework/app.h"

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (m_hWnd || !pParentWnd || !pParentWnd->m_hWnd) return FALSE;
  HWND hwnd = CreateWindowExA(0, "BUTTON", lpszCaption, dwStyle | WS_CHILD, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, pParentWnd->m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), AfxGetInstanceHandle(), nullptr);
  if (!hwnd) return FALSE;
  if (SubclassWindow(hwnd)) return TRUE;
  DestroyWindow(hwnd);
  return FALSE;
}

void CButton::Click() {
  if (m_hWnd) SendMessageA(m_hWnd, BM_CLICK, 0, 0);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  *pResult = TRUE;
  return TRUE;
}
