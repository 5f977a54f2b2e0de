// CKvHDDButton: a picture button whose face is a PNG of the program's
// resources shown over what its parent painted behind it. The faces (normal,
// and pressed: one pixel right and down) are made once, on the first colour
// request of the first paint, from the parent's pixels under the button.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "platform/base/unique_handle.h"
#include "platform/framework/button.h"
#include "tray/ui/MemDC.h"

class CKvHDDButton : public CButton {
 public:
  CKvHDDButton();
  ~CKvHDDButton() override;

  // The face from the resource of that id and type ("PNG"); a resource that
  // cannot be found or read leaves the button without a face.
  void LoadPngResource(WORD nID, LPCSTR lpType);

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;

  // Whether the faces exist (for the dialog's tests).
  bool CacheBuilt() const { return m_bCacheBuilt; }

 protected:
  void PreSubclassWindow() override;

 private:
  void BuildFaceCache(CDC* pDC);

  orv::unique_hglobal m_hImageMemory;  // the resource's bytes behind the image's stream
  std::unique_ptr<Gdiplus::Bitmap> m_pImage;
  bool m_bCacheBuilt = false;
  CBitmapDC m_dcBackground;
  CBitmapDC m_dcNormal;
  CBitmapDC m_dcPressed;
  CDC* m_pCurrent = nullptr;
  ULONG_PTR m_gdiplusToken = 0;
};
