// Binding objects to windows: the object is kept in the window's GWLP_USERDATA
// and the window's procedure is replaced by one that finds it there.
#include "platform/framework/wnd.h"

CWnd::~CWnd() {
  HWND hwnd = UnsubclassWindow();
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  if (!hWnd || reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) != &CWnd::FrameworkProc)
    return nullptr;
  return reinterpret_cast<CWnd*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (m_hWnd || !IsWindow(hWnd) || FromHandlePermanent(hWnd)) return FALSE;
  m_hWnd = hWnd;
  PreSubclassWindow();
  SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_pfnSuper = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::FrameworkProc)));
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  return pParent ? SubclassWindow(GetDlgItem(pParent->m_hWnd, static_cast<int>(nID))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  HWND hwnd = m_hWnd;
  if (hwnd && IsWindow(hwnd)) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  }
  m_hWnd = nullptr;
  m_pfnSuper = nullptr;
  return hwnd;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND child = nullptr;
  if (message == WM_DRAWITEM && lParam) {
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU) child = item->hwndItem;
  } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    child = reinterpret_cast<HWND>(lParam);
  }
  if (CWnd* control = child ? FromHandlePermanent(child) : nullptr) {
    LRESULT result = 0;
    if (control != this && control->OnChildNotify(message, wParam, lParam, &result)) return result;
  }
  return DefaultProc(message, wParam, lParam);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult) {
  if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC) return FALSE;
  CDC dc;
  dc.Attach(reinterpret_cast<HDC>(wParam));
  HBRUSH brush = CtlColor(&dc, message - WM_CTLCOLORMSGBOX);
  dc.Detach();
  if (!brush) return FALSE;
  *pResult = reinterpret_cast<LRESULT>(brush);
  return TRUE;
}

HBRUSH CWnd::CtlColor(CDC*, UINT) { return nullptr; }

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  if (!m_hWnd) return FALSE;
  const DWORD before = GetStyle();
  const DWORD after = (before & ~dwRemove) | dwAdd;
  if (after == before) return FALSE;
  SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(after));
  if (nFlags) SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (!rControl.m_hWnd) rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_pfnSuper ? CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam)
                    : DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::FrameworkProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* self = reinterpret_cast<CWnd*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hWnd, message, wParam, lParam);
  LRESULT result = self->WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone: the object lives on, unbound.
    self->m_hWnd = nullptr;
    self->m_pfnSuper = nullptr;
    self->PostNcDestroy();
  }
  return result;
}
