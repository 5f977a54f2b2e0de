// The off-screen DCs of the picture buttons and the HDD dialog.
#include "tray/ui/MemDC.h"

CMemDC::CMemDC(CDC* pDC, const RECT* pRect, bool bCopyFirst) : m_pDC(pDC), m_bMemDC(!pDC->IsPrinting()) {
  if (!m_bMemDC) {
    m_bPrinting = pDC->m_bPrinting;
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
    return;
  }
  CreateCompatibleDC(pDC);
  if (pRect && (pRect->left || pRect->top || pRect->right || pRect->bottom)) m_rect = *pRect;
  else pDC->GetClipBox(&m_rect);
  m_bitmap.reset(CreateCompatibleBitmap(pDC->m_hDC, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top));
  m_oldBitmap = SelectObject(m_bitmap.get());
  SetWindowOrg(m_rect.left, m_rect.top);
  if (bCopyFirst)
    BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_pDC, m_rect.left,
           m_rect.top, SRCCOPY);
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, this, m_rect.left,
                  m_rect.top, SRCCOPY);
    if (m_oldBitmap) SelectObject(m_oldBitmap);
  } else {
    m_hDC = m_hAttribDC = nullptr;
  }
  // The DC goes with the base class; the bitmap, no longer selected, with m_bitmap.
}

CBitmapDC::~CBitmapDC() {
  if (m_oldBitmap) SelectObject(m_oldBitmap);
}

BOOL CBitmapDC::Create(CDC* pDC, HBITMAP bitmap) {
  m_bitmap.reset(bitmap);
  if (m_hDC || !bitmap || !CreateCompatibleDC(pDC)) return FALSE;
  m_oldBitmap = SelectObject(bitmap);
  return m_oldBitmap != nullptr;
}
