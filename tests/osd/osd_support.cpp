// The OSD tests' helpers.
#include "tests/osd/osd_support.h"

#include <cstdio>

#include "platform/desktop/sim/compositor.h"
#include "platform/gfx/sim/png.h"

namespace osdtest {

orv::gfx::Surface Picture(const std::string& relative) {
  std::string path = orv::test::BinDir() + "/Image/" + relative;
  for (char& c : path)
    if (c == '\\') c = '/';
  orv::gfx::Surface s;
  orv::gfx::LoadPngFile(path, &s);
  return s;
}

orv::gfx::Surface Frame() {
  orv::gfx::Surface f;
  orv::desktop::ComposeFrame(&f);
  return f;
}

RECT WindowRect(HWND hwnd) {
  RECT r{0, 0, 0, 0};
  GetWindowRect(hwnd, &r);
  return r;
}

bool Shows(const orv::gfx::Surface& frame, const orv::gfx::Surface& hidden,
           const orv::gfx::Surface& picture, int x, int y, std::string* why) {
  if (picture.Empty()) {
    *why = "no picture";
    return false;
  }
  for (int py = 0; py < picture.height; ++py)
    for (int px = 0; px < picture.width; ++px) {
      int fx = x + px, fy = y + py;
      if (!frame.Contains(fx, fy)) continue;
      orv::gfx::Pixel want = orv::gfx::Over(hidden.At(fx, fy), picture.At(px, py));
      if (frame.At(fx, fy) != want) {
        char text[128];
        std::snprintf(text, sizeof text, "at (%d, %d): %08x, want %08x", px, py, frame.At(fx, fy), want);
        *why = text;
        return false;
      }
    }
  return true;
}

Desk::Desk(int width, int height, orv::desktop::Edge edge, int thickness) {
  orv::desktop::SetConfig({width, height, edge, thickness});
  osd = std::make_unique<CKvSysOSD>();
  osd->Create(CKvSysOSD::IDD);
}

Desk::~Desk() {
  osd.reset();
  orv::desktop::SetConfig(orv::desktop::Config{});
}

RECT Desk::Display(int kind, int level, int image, int range) {
  osd->DrawOSD(kind, level, image, range);
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  return WindowRect(hwnd());
}

}  // namespace osdtest
