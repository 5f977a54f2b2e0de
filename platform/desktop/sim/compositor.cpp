// Drawing the frame: wallpaper, windows bottom to top, the taskbar where it
// stands in the z-order, each window clipped to its shape. The screen keeps the
// frame it composed last with what each window looked like then; the next
// frame draws anew only the rectangles where something changed.
#include "platform/desktop/sim/compositor.h"

#include <algorithm>
#include <mutex>

#include "platform/desktop/sim/classic_look.h"
#include "platform/desktop/sim/menu.h"
#include "platform/desktop/sim/power_watch.h"
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

// A part of the screen being drawn: screen point (x, y) is the surface's pixel
// (x - left, y - top). Every drawing call clips to the surface, so drawing the
// whole screen onto a part draws exactly that part.
struct Canvas {
  gfx::Surface& pixels;
  int left, top;
  int screenHeight;
};

// The notification area as drawn: where each icon stands and its picture.
struct TrayLook {
  std::size_t count = 0;  // icons of the area, placed or not
  std::vector<std::pair<RECT, gfx::Surface>> icons;
  bool operator==(const TrayLook& o) const {
    if (count != o.count || icons.size() != o.icons.size()) return false;
    for (std::size_t i = 0; i < icons.size(); ++i) {
      const RECT &a = icons[i].first, &b = o.icons[i].first;
      const gfx::Surface &p = icons[i].second, &q = o.icons[i].second;
      if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom || p.width != q.width ||
          p.height != q.height || p.pixels != q.pixels)
        return false;
    }
    return true;
  }
};

TrayLook CurrentTray() {
  TrayLook look;
  std::vector<NotifyIcon> all = NotifyIcons();
  look.count = all.size();
  for (const NotifyIcon& icon : all) {
    RECT place;
    if (NotifyIconRect(icon.owner, icon.id, &place)) look.icons.emplace_back(place, icon.icon);
  }
  return look;
}

// The screen while the notebook sleeps or hibernates.
constexpr gfx::Pixel kDark = 0xFF000000u;

void Wallpaper(Canvas& c) {
  for (int row = 0; row < c.pixels.height; ++row) {
    // A quiet blue-green gradient, darker at the bottom.
    int y = row + c.top;
    int t = c.screenHeight > 1 ? y * 255 / (c.screenHeight - 1) : 0;
    gfx::Pixel colour = 0xFF000000u | (std::uint32_t(40 - t * 20 / 255) << 16) |
                        (std::uint32_t(110 - t * 50 / 255) << 8) | std::uint32_t(150 - t * 60 / 255);
    std::fill(c.pixels.pixels.begin() + static_cast<std::ptrdiff_t>(row) * c.pixels.width,
              c.pixels.pixels.begin() + static_cast<std::ptrdiff_t>(row + 1) * c.pixels.width, colour);
  }
}

void Taskbar(Canvas& c, const Config& config, const TrayLook& tray) {
  RECT r = TaskbarRect(config);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = r.left - c.left, y = r.top - c.top;
  gfx::FillRect(c.pixels, x, y, w, h, kTaskbar);
  bool vertical = config.taskbarEdge == Edge::Left || config.taskbarEdge == Edge::Right;
  // The edge line facing the screen's middle.
  switch (config.taskbarEdge) {
    case Edge::Bottom: gfx::FillRect(c.pixels, x, y, w, 1, kTaskbarEdge); break;
    case Edge::Top: gfx::FillRect(c.pixels, x, y + h - 1, w, 1, kTaskbarEdge); break;
    case Edge::Left: gfx::FillRect(c.pixels, x + w - 1, y, 1, h, kTaskbarEdge); break;
    case Edge::Right: gfx::FillRect(c.pixels, x, y, 1, h, kTaskbarEdge); break;
    default: break;
  }
  int button = std::min(vertical ? w : h, 48) - 6;
  gfx::FillRect(c.pixels, x + 3, y + 3, button, button, kStart);
  int trayLength = 24 + 22 * static_cast<int>(tray.count);
  if (vertical)
    gfx::FillRect(c.pixels, x + 2, y + h - trayLength, w - 4, trayLength - 2, kTray);
  else
    gfx::FillRect(c.pixels, x + w - trayLength, y + 2, trayLength - 2, h - 4, kTray);
  for (const auto& [place, icon] : tray.icons)
    gfx::BlendRect(c.pixels, place.left - c.left, place.top - c.top, icon, 0, 0, 16, 16);
}

// The pixels of one window part, as the screen shows them; (x, y) is the
// window's place on the canvas.
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

bool Layered(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

// Whether the window puts anything on the screen, and where.
bool Drawn(HWND hwnd, const WindowRecord& r, RECT* rect) {
  if (!IsWindowVisible(hwnd) || !GetWindowRect(hwnd, rect)) return false;
  return !Layered(hwnd) || r.layeredSet;  // a layered window shows nothing until its first update
}

// Whether the system draws the window (a dialog, a menu or a captioned window
// that draws nothing itself) from its controls' and its own state.
bool ClassicLook(HWND hwnd, const WindowRecord& r) {
  if (Layered(hwnd) || !r.client.Empty() || r.region) return false;
  const bool captioned = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  return r.className == "#32770" || r.className == kMenuClass || captioned;
}

void DrawWindow(Canvas& c, HWND hwnd, const WindowRecord& r) {
  RECT rect;
  if (!Drawn(hwnd, r, &rect)) return;
  bool layered = Layered(hwnd);
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  int x = rect.left - c.left, y = rect.top - c.top;
  gfx::Surface face;
  const gfx::Surface* pixels = layered ? &r.layered : &r.client;
  if (!layered && r.client.Empty()) {
    // Nothing drawn through GetDC: a dialog as the system draws it.
    if (ClassicLook(hwnd, r)) return DrawClassicWindow(c.pixels, hwnd, POINT{c.left, c.top});
    face = gfx::Surface(std::max(w, 0), std::max(h, 0), 0xFFF0F0F0);
    pixels = &face;
  }
  if (!r.region) {
    Blit(c.pixels, x, y, *pixels, 0, 0, w, h, r, layered);
    return;
  }
  for (const RECT& part : gfx::RegionRects(r.region)) {
    int x0 = std::max<int>(part.left, 0), y0 = std::max<int>(part.top, 0);
    int x1 = std::min<int>(part.right, w), y1 = std::min<int>(part.bottom, h);
    if (x1 > x0 && y1 > y0) Blit(c.pixels, x, y, *pixels, x0, y0, x1 - x0, y1 - y0, r, layered);
  }
}

// Draws the whole screen onto the canvas (caller holds detail::Lock()).
void Draw(Canvas& c, const Config& config, const TrayLook& tray,
          const std::vector<std::pair<HWND, WindowRecord*>>& ordered) {
  Wallpaper(c);
  for (auto& [hwnd, record] : ordered) {
    if (record->className == kTaskbarClass) {
      if (IsWindowVisible(hwnd)) Taskbar(c, config, tray);
      continue;
    }
    DrawWindow(c, hwnd, *record);
  }
}

// What a window put on the screen when a frame was composed: any difference
// means its old and new rectangles are drawn anew.
struct WindowLook {
  HWND hwnd = nullptr;
  RECT rect{0, 0, 0, 0};
  bool taskbar = false;
  bool layered = false;
  std::uint64_t generation = 0;
  BLENDFUNCTION blend{};
  DWORD ulwFlags = 0;
  COLORREF colourKey = 0;
  std::vector<RECT> region;
  bool shaped = false;
  std::uint64_t clientVersion = 0;
  bool drawing = false;  // its pixels may change at any time (a DC is out, or the system draws it)

  bool operator==(const WindowLook& o) const {
    auto same = [](const RECT& a, const RECT& b) {
      return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    if (region.size() != o.region.size()) return false;
    for (std::size_t i = 0; i < region.size(); ++i)
      if (!same(region[i], o.region[i])) return false;
    return !drawing && !o.drawing && hwnd == o.hwnd && same(rect, o.rect) && taskbar == o.taskbar &&
           layered == o.layered && generation == o.generation && blend.BlendOp == o.blend.BlendOp &&
           blend.BlendFlags == o.blend.BlendFlags && blend.SourceConstantAlpha == o.blend.SourceConstantAlpha &&
           blend.AlphaFormat == o.blend.AlphaFormat && ulwFlags == o.ulwFlags && colourKey == o.colourKey &&
           shaped == o.shaped && clientVersion == o.clientVersion;
  }
};

// The windows that put something on the screen, bottom first.
std::vector<WindowLook> Looks(const std::vector<std::pair<HWND, WindowRecord*>>& ordered) {
  std::vector<WindowLook> looks;
  for (auto& [hwnd, r] : ordered) {
    WindowLook look;
    look.hwnd = hwnd;
    if (r->className == kTaskbarClass) {
      if (!IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &look.rect)) continue;
      look.taskbar = true;
      looks.push_back(look);
      continue;
    }
    if (!Drawn(hwnd, *r, &look.rect)) continue;
    look.layered = Layered(hwnd);
    look.generation = r->generation;
    look.blend = r->blend;
    look.ulwFlags = r->ulwFlags;
    look.colourKey = r->colourKey;
    look.shaped = r->region != nullptr;
    if (r->region) look.region = gfx::RegionRects(r->region);
    look.clientVersion = r->clientVersion;
    // A window the system draws from its controls' texts and states changes
    // with them, which no record here follows: it is drawn anew every frame.
    look.drawing = r->clientDcs > 0 || ClassicLook(hwnd, *r);
    looks.push_back(std::move(look));
  }
  return looks;
}

// The screen's last frame and what it was composed from.
struct Screen {
  bool valid = false;
  Config config;
  TrayLook tray;
  std::vector<WindowLook> looks;
  gfx::Surface frame;
  ComposeStats stats;
};

Screen& TheScreen() {
  static Screen* screen = new Screen;  // windows may still change during exit
  return *screen;
}

long long Area(const RECT& r) {
  return static_cast<long long>(std::max<LONG>(r.right - r.left, 0)) * std::max<LONG>(r.bottom - r.top, 0);
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The rectangles where the screen differs from the last frame, clipped to the
// screen, overlapping ones joined into their bounds.
std::vector<RECT> Damage(const Screen& s, const std::vector<WindowLook>& looks, const TrayLook& tray,
                         const Config& config) {
  std::vector<RECT> damage;
  auto add = [&](RECT r) {
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, config.width);
    r.bottom = std::min<LONG>(r.bottom, config.height);
    if (Area(r) > 0) damage.push_back(r);
  };
  // A window counts as unchanged only when it looks the same at the same place
  // in the stack of drawn windows.
  for (std::size_t i = 0; i < looks.size(); ++i) {
    bool same = i < s.looks.size() && looks[i] == s.looks[i] && (!looks[i].taskbar || tray == s.tray);
    if (same) continue;
    add(looks[i].rect);
    auto old = std::find_if(s.looks.begin(), s.looks.end(), [&](const WindowLook& l) { return l.hwnd == looks[i].hwnd; });
    if (old != s.looks.end()) add(old->rect);
  }
  for (std::size_t i = 0; i < s.looks.size(); ++i) {
    bool kept = i < looks.size() && looks[i] == s.looks[i] && (!looks[i].taskbar || tray == s.tray);
    if (!kept) add(s.looks[i].rect);
  }
  for (bool joined = true; joined;) {
    joined = false;
    for (std::size_t i = 0; i < damage.size() && !joined; ++i)
      for (std::size_t j = i + 1; j < damage.size() && !joined; ++j)
        if (Overlap(damage[i], damage[j])) {
          damage[i] = RECT{std::min(damage[i].left, damage[j].left), std::min(damage[i].top, damage[j].top),
                           std::max(damage[i].right, damage[j].right), std::max(damage[i].bottom, damage[j].bottom)};
          damage.erase(damage.begin() + static_cast<std::ptrdiff_t>(j));
          joined = true;
        }
  }
  return damage;
}

// Brings the screen's frame up to date (caller holds detail::Lock()).
void Update(Screen& s) {
  Config config = CurrentConfig();
  auto ordered = detail::Ordered();
  TrayLook tray = CurrentTray();
  std::vector<WindowLook> looks = Looks(ordered);
  const bool whole = !s.valid || s.config.width != config.width || s.config.height != config.height ||
                     s.config.taskbarEdge != config.taskbarEdge || s.config.taskbarThickness != config.taskbarThickness;
  std::vector<RECT> damage;
  long long area = 0;
  if (!whole) {
    damage = Damage(s, looks, tray, config);
    for (const RECT& r : damage) area += Area(r);
  }
  const long long screenArea = static_cast<long long>(config.width) * config.height;
  if (whole || area * 2 > screenArea) {
    s.frame = gfx::Surface(config.width, config.height);
    Canvas canvas{s.frame, 0, 0, config.height};
    Draw(canvas, config, tray, ordered);
    ++s.stats.wholeFrames;
    s.stats.lastPixels = screenArea;
  } else {
    for (const RECT& r : damage) {
      gfx::Surface part(r.right - r.left, r.bottom - r.top);
      Canvas canvas{part, r.left, r.top, config.height};
      Draw(canvas, config, tray, ordered);
      gfx::CopyRect(s.frame, r.left, r.top, part, 0, 0, part.width, part.height);
    }
    ++s.stats.partFrames;
    s.stats.lastPixels = area;
  }
  s.valid = true;
  s.config = config;
  s.tray = std::move(tray);
  s.looks = std::move(looks);
}

std::mutex& ScreenLock() {
  static std::mutex m;
  return m;
}

}  // namespace

void ComposeFrame(gfx::Surface* out) {
  TaskbarWindow();  // the taskbar exists whenever the screen is looked at
  std::lock_guard<std::recursive_mutex> lock(detail::Lock());
  Screen& s = TheScreen();
  Update(s);
  *out = ScreenDark() ? gfx::Surface(s.frame.width, s.frame.height, kDark) : s.frame;
}

void ComposeWholeFrame(gfx::Surface* out) {
  TaskbarWindow();
  Config config = CurrentConfig();
  std::lock_guard<std::recursive_mutex> lock(detail::Lock());
  *out = gfx::Surface(config.width, config.height);
  Canvas canvas{*out, 0, 0, config.height};
  Draw(canvas, config, CurrentTray(), detail::Ordered());
  if (ScreenDark()) *out = gfx::Surface(config.width, config.height, kDark);
}

ComposeStats CurrentComposeStats() {
  std::lock_guard<std::recursive_mutex> lock(detail::Lock());
  return TheScreen().stats;
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
