// Drawing the frame: wallpaper, windows bottom to top, the taskbar where it
// stands in the z-order, each window clipped to its shape.
#include "platform/desktop/sim/compositor.h"

#include <algorithm>
#include <mutex>

#include "platform/desktop/sim/screen.h"
#include "platform/desktop/sim/state.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/gfx/sim/gdi.h"
#include "platform/gfx/sim/png.h"


namespace orv::desktop {
namespace {

using detail::WindowRecord;

constexpr gfx::Pixel kTaskbar = 0xFF1B2430;
constexpr gfx::Pixel kTaskbarEdge = 0xFF3A4A5E;
constexpr gfx::Pixel kStart = 0xFF2F80D0;
constexpr gfx::Pixel kTray = 0xFF243041;

void Wallpaper(gfx::Surface& frame) {
  for (int y = 0; y < frame.height; ++y) {
    // A quiet blue-green gradient, darker at the bottom.
    int t = frame.height > 1 ? y * 255 / (frame.height - 1) : 0;
    gfx::Pixel row = 0xFF000000u | (std::uint32_t(40 - t * 20 / 255) << 16) |
                     (std::uint32_t(110 - t * 50 / 255) << 8) | std::uint32_t(150 - t * 60 / 255);
    std::fill(frame.pixels.begin() + static_cast<std::ptrdiff_t>(y) * frame.width,
              frame.pixels.begin() + static_cast<std::ptrdiff_t>(y + 1) * frame.width, row);
  }
}

void Taskbar(gfx::Surface& frame, const Config& c) {
  RECT r = TaskbarRect(c);
  int w = r.right - r.left, h = r.bottom - r.top;
  gfx::FillRect(frame, r.left, r.top, w, h, kTaskbar);
  bool vertical = c.taskbarEdge == Edge::Left || c.taskbarEdge == Edge::Right;
  // The edge line facing the screen's middle.
  switch (c.taskbarEdge) {
    case Edge::Bottom: gfx::FillRect(frame, r.left, r.top, w, 1, kTaskbarEdge); break;
    case Edge::Top: gfx::FillRect(frame, r.left, r.bottom - 1, w, 1, kTaskbarEdge); break;
    case Edge::Left: gfx::FillRect(frame, r.right - 1, r.top, 1, h, kTaskbarEdge); break;
    case Edge::Right: gfx::FillRect(frame, r.left, r.top, 1, h, kTaskbarEdge); break;
    default: break;
  }
  int button = std::min(vertical ? w : h, 48) - 6;
  gfx::FillRect(frame, r.left + 3, r.top + 3, button, button, kStart);
  std::vector<NotifyIcon> icons = NotifyIcons();
  int trayLength = 24 + 22 * static_cast<int>(icons.size());
  if (vertical)
    gfx::FillRect(frame, r.left + 2, r.bottom - trayLength, w - 4, trayLength - 2, kTray);
  else
    gfx::FillRect(frame, r.right - trayLength, r.top + 2, trayLength - 2, h - 4, kTray);
  for (const NotifyIcon& icon : icons) {
    RECT place;
    if (NotifyIconRect(icon.owner, icon.id, &place))
      gfx::BlendRect(frame, place.left, place.top, icon.icon, 0, 0, 16, 16);
  }
}

// The pixels of one window part, as the screen shows them.
void Blit(gfx::Surface& frame, int x, int y, const gfx::Surface& pixels, int sx, int sy, int w,
          int h, const WindowRecord& r, bool layered) {
  if (!layered) {
    gfx::CopyRect(frame, x + sx, y + sy, pixels, sx, sy, w, h);
    return;
  }
  std::uint8_t constant = (r.ulwFlags & ULW_ALPHA) ? r.blend.SourceConstantAlpha : 255;
  bool perPixel = (r.ulwFlags & ULW_ALPHA) && (r.blend.AlphaFormat & AC_SRC_ALPHA);
  if (perPixel) {
    gfx::BlendRect(frame, x + sx, y + sy, pixels, sx, sy, w, h, constant);
    return;
  }
  bool keyed = (r.ulwFlags & ULW_COLORKEY) != 0;
  for (int row = std::max(sy, -y); row < std::min(sy + h, frame.height - y); ++row)
    for (int col = std::max(sx, -x); col < std::min(sx + w, frame.width - x); ++col) {
      if (!pixels.Contains(col, row)) continue;
      gfx::Pixel p = pixels.At(col, row) | 0xFF000000u;
      gfx::Pixel bgr = ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
      if (keyed && bgr == (r.colourKey & 0xFFFFFF)) continue;
      gfx::Pixel& d = frame.At(x + col, y + row);
      d = gfx::Over(d, p, constant);
    }
}

void DrawWindow(gfx::Surface& frame, HWND hwnd, const WindowRecord& r) {
  RECT rect;
  if (!IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &rect)) return;
  bool layered = (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  if (layered && !r.layeredSet) return;  // nothing to show until its first update
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  gfx::Surface face;
  const gfx::Surface* pixels = layered ? &r.layered : &r.client;
  if (!layered && r.client.Empty()) {
    face = gfx::Surface(std::max(w, 0), std::max(h, 0), 0xFFF0F0F0);
    pixels = &face;
  }
  if (!r.region) {
    Blit(frame, rect.left, rect.top, *pixels, 0, 0, w, h, r, layered);
    return;
  }
  for (const RECT& part : gfx::RegionRects(r.region)) {
    int x0 = std::max<int>(part.left, 0), y0 = std::max<int>(part.top, 0);
    int x1 = std::min<int>(part.right, w), y1 = std::min<int>(part.bottom, h);
    if (x1 > x0 && y1 > y0) Blit(frame, rect.left, rect.top, *pixels, x0, y0, x1 - x0, y1 - y0, r, layered);
  }
}

std::mutex& ScreenLock() {
  static std::mutex m;
  return m;
}

}  // namespace

void ComposeFrame(gfx::Surface* out) {
  Config c = CurrentConfig();
  TaskbarWindow();  // the taskbar exists whenever the screen is looked at
  if (out->width != c.width || out->height != c.height) *out = gfx::Surface(c.width, c.height);
  Wallpaper(*out);
  std::lock_guard<std::recursive_mutex> lock(detail::Lock());
  for (auto& [hwnd, record] : detail::Ordered()) {
    if (record->className == kTaskbarClass) {
      if (IsWindowVisible(hwnd)) Taskbar(*out, c);
      continue;
    }
    DrawWindow(*out, hwnd, *record);
  }
}

gfx::Status SaveScreenshot(const std::string& path) {
  gfx::Surface frame;
  ComposeFrame(&frame);
  return gfx::SavePngFile(path, frame);
}

HDC ScreenDC() {
  static gfx::Surface* screen = new gfx::Surface;  // outlives every DC on it
  std::lock_guard<std::mutex> lock(ScreenLock());
  Config c = CurrentConfig();
  if (screen->width != c.width || screen->height != c.height) ComposeFrame(screen);
  return gfx::CreateSurfaceDC(screen);
}

}  // namespace orv::desktop
