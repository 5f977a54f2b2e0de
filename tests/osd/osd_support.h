// Helpers of the OSD tests: a private desktop set-up, the generated pictures, and
// comparing what the composed screen shows with a picture.
#pragma once
#include <memory>
#include <string>

#include "platform/desktop/sim/screen.h"
#include "platform/gfx/sim/surface.h"
#include "tests/support/process.h"
#include "tray/osd/KvSysOSD.h"

namespace osdtest {

// A picture of the Image folder beside the programs, by its relative name.
orv::gfx::Surface Picture(const std::string& relative);
orv::gfx::Surface Frame();
RECT WindowRect(HWND hwnd);

// True when the frame shows picture at (x, y) over what the frame without the
// window (hidden) shows there; *why tells the first difference.
bool Shows(const orv::gfx::Surface& frame, const orv::gfx::Surface& hidden,
           const orv::gfx::Surface& picture, int x, int y, std::string* why);

// A state folder, a desktop set-up and one OSD window.
struct Desk {
  explicit Desk(int width = 1280, int height = 800,
                orv::desktop::Edge edge = orv::desktop::Edge::Bottom, int thickness = 30);
  ~Desk();
  orv::test::TempHome home;
  std::unique_ptr<CKvSysOSD> osd;
  HWND hwnd() const { return osd->GetSafeHwnd(); }
  // DrawOSD, show, and the window's rectangle.
  RECT Display(int kind, int level, int image, int range = 0);
};

}  // namespace osdtest
