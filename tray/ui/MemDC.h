// CMemDC: an off-screen DC bound to a target DC and a rectangle; what is drawn
// on it reaches the target in one copy when it goes. On a printer DC it draws
// on the target itself. CBitmapDC: a memory DC that owns the bitmap selected
// into it and puts the DC's own bitmap back before either goes.
#pragma once
#include <windows.h>

#include "platform/base/unique_handle.h"
#include "platform/framework/dc.h"

class CMemDC : public CDC {
 public:
  // pRect NULL or empty: the target's clip box. With bCopyFirst the target's
  // pixels of the rectangle are copied in first.
  CMemDC(CDC* pDC, const RECT* pRect = nullptr, bool bCopyFirst = false);
  ~CMemDC() override;

 private:
  orv::unique_hbitmap m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  CDC* m_pDC;
  RECT m_rect{0, 0, 0, 0};
  BOOL m_bMemDC;
};

class CBitmapDC : public CDC {
 public:
  CBitmapDC() = default;
  ~CBitmapDC() override;
  // A DC compatible with pDC holding the bitmap, which it owns from now on
  // (also when the DC cannot be made).
  BOOL Create(CDC* pDC, HBITMAP bitmap);

 private:
  orv::unique_hbitmap m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
};
