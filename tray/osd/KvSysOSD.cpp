// The OSD window: picture choice, placement, single-picture and bar rendering.
#include "tray/osd/KvSysOSD.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/base/unique_handle.h"
#include "tray/osd/osd_bar_geometry.h"
#include "tray/osd/osd_kind.h"
#include "tray/osd/osd_pictures.h"

namespace {

bool Usable(const std::shared_ptr<Gdiplus::Image>& image) {
  return image && image->GetLastStatus() == Gdiplus::Ok && image->GetWidth() > 0 &&
         image->GetHeight() > 0;
}

int SlotOf(int kind) {
  switch (static_cast<OsdKind>(kind)) {
    case OsdKind::Icon2: return 2;
    case OsdKind::Icon3: return 3;
    default: return 1;
  }
}

}  // namespace

CKvSysOSD::CKvSysOSD() : CDialog(IDD) {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
  m_pictures = COsdPictureCache::Shared();
}

// The pictures go before the picture library shuts down; the window goes with
// the dialog.
CKvSysOSD::~CKvSysOSD() {
  m_picture.reset();
  m_barDown.reset();
  m_barMain.reset();
  m_barCap.reset();
  m_barIcon.reset();
  m_pictures.reset();
  Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

BOOL CKvSysOSD::OnInitDialog() {
  LONG_PTR ex = GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
  if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  m_blend.BlendOp = AC_SRC_OVER;
  m_blend.BlendFlags = 0;
  m_blend.SourceConstantAlpha = 255;
  m_blend.AlphaFormat = AC_SRC_ALPHA;
  DWORD n = GetModuleFileNameA(nullptr, m_folder, sizeof m_folder);
  if (n == 0 || n >= sizeof m_folder) m_folder[0] = '\0';
  if (char* slash = std::strrchr(m_folder, '\\')) slash[1] = '\0';
  else m_folder[0] = '\0';
  char shortPath[sizeof m_folder];
  DWORD s = GetShortPathNameA(m_folder, shortPath, sizeof shortPath);
  if (s > 0 && s < sizeof shortPath) std::memcpy(m_folder, shortPath, s + 1);
  return TRUE;
}

std::shared_ptr<Gdiplus::Image> CKvSysOSD::LoadPicture(const char* relative) const {
  if (!relative || !*relative) return nullptr;
  char path[1024];
  std::snprintf(path, sizeof path, "%sImage\\%s", m_folder, relative);
  return m_pictures->Get(path);
}

void CKvSysOSD::DrawOSD(int kind, int level, int image, int range) {
  if (!m_hWnd) return;
  if (kind == static_cast<int>(OsdKind::Bar)) {
    m_range = range;
    OsdBarPictureNames names{};
    if (OsdBarPictureNamesFor(image, &names)) {
      m_barDown = LoadPicture(names.down);
      m_barMain = LoadPicture(names.main);
      m_barCap = LoadPicture(names.cap);
      m_barIcon = LoadPicture(names.icon);
    }
    if (Usable(m_barDown) && Usable(m_barMain) && Usable(m_barCap) && Usable(m_barIcon)) {
      Place(kind, static_cast<int>(m_barMain->GetWidth()), static_cast<int>(m_barMain->GetHeight()));
      RenderBar(level);
    } else {
      ClearContents();
    }
    m_barDown.reset();
    m_barMain.reset();
    m_barCap.reset();
    m_barIcon.reset();
    return;
  }
  std::string name;
  switch (static_cast<OsdKind>(kind)) {
    case OsdKind::Icon:
    case OsdKind::Icon2:
    case OsdKind::Icon3:
      if (const char* n = OsdIconPictureName(image)) name = n;
      break;
    case OsdKind::Level: name = OsdLevelPictureName(image, level); break;
    case OsdKind::Center:
      if (const char* n = OsdCenterPictureName(image)) name = n;
      break;
    default: break;
  }
  m_picture = LoadPicture(name.c_str());
  if (Usable(m_picture)) {
    Place(kind, static_cast<int>(m_picture->GetWidth()), static_cast<int>(m_picture->GetHeight()));
    RenderPicture();
  } else {
    ClearContents();
  }
  m_picture.reset();
}

void CKvSysOSD::Place(int kind, int w, int h) {
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  enum { Absent, AtBottom, AtRight } taskbar = Absent;
  RECT bar{0, 0, 0, 0};
  HWND tray = FindWindowA("Shell_TrayWnd", "");
  if (tray && GetWindowRect(tray, &bar)) {
    if (bar.right - bar.left == sw && bar.bottom == sh) taskbar = AtBottom;
    else if (bar.right == sw && bar.bottom - bar.top == sh) taskbar = AtRight;
  }
  int x, y;
  if (kind == static_cast<int>(OsdKind::Center)) {
    x = (sw - w) / 2;
    y = (sh - h) / 2;
  } else if (kind == static_cast<int>(OsdKind::Bar)) {
    x = (sw - w) / 2;
    y = taskbar == AtBottom ? sh - (bar.bottom - bar.top) - h - 10 : sh - h - 44;
  } else {
    int k = SlotOf(kind);
    switch (taskbar) {
      case AtBottom:
        x = sw - k * w - 15;
        y = sh - (bar.bottom - bar.top) - h - 10;
        break;
      case AtRight:
        x = sw - (bar.right - bar.left) - k * w - 5;
        y = sh - h - 44;
        break;
      default:
        x = sw - k * w - 15;
        y = sh - h - 44;
        break;
    }
  }
  SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CKvSysOSD::Present(Gdiplus::Bitmap& canvas) {
  RECT rect;
  GetWindowRect(m_hWnd, &rect);
  POINT destination{rect.left, rect.top};
  SIZE size{static_cast<LONG>(canvas.GetWidth()), static_cast<LONG>(canvas.GetHeight())};
  POINT source{0, 0};
  orv::unique_hbitmap bitmap;
  if (canvas.GetHBITMAP(Gdiplus::Color(0xFF000000), bitmap.put()) != Gdiplus::Ok) return false;
  orv::unique_window_dc windowDc(m_hWnd);
  orv::unique_hdc memory(CreateCompatibleDC(windowDc.get()));
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  orv::unique_window_dc screen(nullptr);
  BOOL ok = UpdateLayeredWindow(m_hWnd, screen.get(), &destination, &size, memory.get(), &source, 0, &m_blend,
                                ULW_ALPHA);
  SelectObject(memory.get(), old);
  return ok != FALSE;
}

void CKvSysOSD::ClearContents() {
  Gdiplus::Bitmap empty(1, 1);
  Present(empty);
}

void CKvSysOSD::RenderPicture() {
  int w = static_cast<int>(m_picture->GetWidth()), h = static_cast<int>(m_picture->GetHeight());
  Gdiplus::Bitmap canvas(w, h, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(&canvas);
  graphics.DrawImage(m_picture.get(), 0, 0, w, h);
  if (!Present(canvas)) ClearContents();
}

void CKvSysOSD::RenderBar(int level) {
  int W = static_cast<int>(m_barMain->GetWidth()), H = static_cast<int>(m_barMain->GetHeight());
  Gdiplus::Bitmap canvas(W, H, PixelFormat32bppARGB);
  Gdiplus::Graphics g(&canvas);
  g.DrawImage(m_barMain.get(), 0, 0, W, H);
  if (level > 0 && m_range > 0) {
    float s = static_cast<float>(static_cast<double>(kBarScaleLength) / m_range);
    int t = static_cast<int>(static_cast<double>(level) * static_cast<double>(s));
    int e = static_cast<int>(m_barCap->GetWidth());
    int a, capOffset;
    if (t < 2 * e) {
      a = t / 2 + kBarScaleStart;
      capOffset = e - t / 2;
    } else {
      a = t - e + kBarScaleStart;
      capOffset = 0;
    }
    if (t < kBarFull) {
      g.DrawImage(m_barDown.get(), Gdiplus::Rect(0, 0, a, kBarHeight), 0, 0, a, kBarHeight,
                  Gdiplus::UnitPixel);
      if (t < 2 * e)
        g.DrawImage(m_barCap.get(), Gdiplus::Rect(a, kBarCapTop, kBarCapWidth, kBarCapHeight),
                    capOffset, 0, kBarCapWidth, static_cast<int>(m_barCap->GetHeight()),
                    Gdiplus::UnitPixel);
      else
        g.DrawImage(m_barCap.get(), a, kBarCapTop);
      g.DrawImage(m_barIcon.get(), kBarIconLeft, kBarIconTop);
    } else {
      g.DrawImage(m_barDown.get(), 0, 0, W, H);
    }
    g.DrawImage(m_barIcon.get(), kBarIconLeft, kBarIconTop);
  } else {
    g.DrawImage(m_barMain.get(), 0, 0, W, H);
    g.DrawImage(m_barIcon.get(), kBarIconLeft, kBarIconTop);
  }
  Gdiplus::SolidBrush ticks{Gdiplus::Color(kBarTickColour)};
  int step = m_range == kBarRangeVolume ? 7 : m_range == kBarRangeBrightness ? 48 : 0;
  if (step == 0 && m_range > 0) step = std::max(1, kBarScaleLength / m_range);
  if (step > 0) {
    int x = kBarScaleStart;
    for (int i = 0; i <= m_range; ++i) {
      g.FillRectangle(&ticks, x, kBarTickTop, 1, kBarTickHeight);
      x += step;
      if (x >= 470) {
        g.FillRectangle(&ticks, kBarLastTick, kBarTickTop, 1, kBarTickHeight);
        break;
      }
    }
  }
  if (!Present(canvas)) ClearContents();
}
