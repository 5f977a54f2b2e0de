// CDC: a C++ object holding a device context, as drawing code passes it
// around: its output DC and its attribute DC (the same one, except where a
// derived class sets them apart), and whether it draws for a printer. A DC the
// object made (CreateCompatibleDC) is deleted with it; one it was given
// (Attach) is handed back by Detach. CClientDC holds a window's client DC.
#pragma once
#include <windows.h>

class CWnd;

class CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  BOOL IsPrinting() const { return m_bPrinting; }

  // A memory DC compatible with the other one (NULL: with the screen).
  BOOL CreateCompatibleDC(CDC* pDC);
  BOOL DeleteDC();
  BOOL Attach(HDC hDC);
  HDC Detach();
  void SetOutputDC(HDC hDC) { m_hDC = hDC; }
  void SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }
  void ReleaseOutputDC() { m_hDC = nullptr; }
  void ReleaseAttribDC() { m_hAttribDC = nullptr; }

  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
  }
  POINT SetWindowOrg(int x, int y);
  int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }

  HDC m_hDC = nullptr;        // output
  HDC m_hAttribDC = nullptr;  // attributes
  BOOL m_bPrinting = FALSE;

 private:
  bool m_bOwned = false;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 private:
  HWND m_hWnd;
};
