// The HDD dialog's picture buttons.
#include "tray/ui/KvHDDButton.h"

#include <cstring>

#include "platform/base/unique_com.h"
#include "platform/framework/app.h"

CKvHDDButton::CKvHDDButton() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
}

CKvHDDButton::~CKvHDDButton() {
  m_pImage.reset();  // before GDI+ stops
  Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

void CKvHDDButton::PreSubclassWindow() {
  ModifyStyle(0, BS_OWNERDRAW, SWP_FRAMECHANGED);
  CButton::PreSubclassWindow();
}

void CKvHDDButton::LoadPngResource(WORD nID, LPCSTR lpType) {
  m_pImage.reset();
  m_hImageMemory.reset();
  HMODULE module = AfxGetInstanceHandle();
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(nID), lpType);
  if (!info) return;
  const DWORD size = SizeofResource(module, info);
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || !size) return;
  orv::unique_hglobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  void* copy = block ? GlobalLock(block.get()) : nullptr;
  if (!copy) return;
  std::memcpy(copy, bytes, size);
  orv::com_ptr<IStream> stream;
  if (SUCCEEDED(CreateStreamOnHGlobal(block.get(), FALSE, stream.put())))
    m_pImage.reset(Gdiplus::Bitmap::FromStream(stream.get()));
  GlobalUnlock(block.get());
  m_hImageMemory = std::move(block);
}

HBRUSH CKvHDDButton::CtlColor(CDC* pDC, UINT) {
  BuildFaceCache(pDC);
  return nullptr;
}

void CKvHDDButton::BuildFaceCache(CDC* pDC) {
  if (m_bCacheBuilt || !m_pImage) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  const int w = client.right - client.left, h = client.bottom - client.top;
  CMemDC memDC(pDC, &client, false);
  Gdiplus::Graphics graphics(memDC.m_hDC);
  if (!m_dcBackground.m_hDC) {
    // What the image's transparent parts show: the parent's pixels under the button.
    HWND parent = ::GetParent(m_hWnd);
    CClientDC parentDC(FromHandlePermanent(parent));
    RECT place;
    ::GetWindowRect(m_hWnd, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    m_dcBackground.Create(&parentDC, CreateCompatibleBitmap(parentDC.m_hDC, w, h));
    m_dcBackground.BitBlt(0, 0, w, h, &parentDC, place.left, place.top, SRCCOPY);
  }
  if (!m_dcNormal.m_hDC) {
    memDC.BitBlt(0, 0, w, h, &m_dcBackground, 0, 0, SRCCOPY);
    graphics.DrawImage(m_pImage.get(), 0, 0);
    m_dcNormal.Create(&memDC, CreateCompatibleBitmap(memDC.m_hDC, w, h));
    m_dcNormal.BitBlt(0, 0, w, h, &memDC, 0, 0, SRCCOPY);

    memDC.BitBlt(0, 0, w, h, &m_dcBackground, 0, 0, SRCCOPY);
    graphics.DrawImage(m_pImage.get(), 1, 1);
    m_dcPressed.Create(&memDC, CreateCompatibleBitmap(memDC.m_hDC, w, h));
    m_dcPressed.BitBlt(0, 0, w, h, &memDC, 0, 0, SRCCOPY);
  }
  if (!m_pCurrent) m_pCurrent = &m_dcNormal;
  m_bCacheBuilt = true;
}

void CKvHDDButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  m_pCurrent = (lpDrawItemStruct->itemState & ODS_SELECTED) ? &m_dcPressed : &m_dcNormal;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  ::BitBlt(lpDrawItemStruct->hDC, 0, 0, client.right - client.left, client.bottom - client.top, m_pCurrent->m_hDC, 0, 0,
           SRCCOPY);
}
