// CDC and CClientDC over the GDI calls.
#include "platform/framework/dc.h"

#include "platform/framework/wnd.h"

CDC::~CDC() {
  if (m_bOwned) DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  if (m_hDC) return FALSE;
  HDC dc = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
  if (!dc) return FALSE;
  m_hDC = m_hAttribDC = dc;
  m_bOwned = true;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  const BOOL deleted = m_bOwned ? ::DeleteDC(m_hDC) : FALSE;
  m_hDC = m_hAttribDC = nullptr;
  m_bOwned = false;
  return deleted;
}

BOOL CDC::Attach(HDC hDC) {
  if (m_hDC || !hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  m_bOwned = false;
  return TRUE;
}

HDC CDC::Detach() {
  HDC dc = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  m_bOwned = false;
  return dc;
}

POINT CDC::SetWindowOrg(int x, int y) {
  POINT before{0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &before);
  return before;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() {
  HDC dc = Detach();
  if (dc) ::ReleaseDC(m_hWnd, dc);
}
