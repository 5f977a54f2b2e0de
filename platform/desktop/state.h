// The desktop's records of the top-level windows, shared by the window calls, the
// taskbar and the compositor. Not for use outside platform/desktop.
#pragma once
#include <functional>
#include <map>
#include <mutex>  // recursive: observers of other layers may call back in
#include <string>
#include <vector>

#include "platform/desktop/windows.h"
#include "platform/gfx/surface.h"

namespace orv::desktop::detail {

struct WindowRecord {
  bool topmost = false;
  std::string className;
  bool layeredSet = false;           // UpdateLayeredWindow has given contents
  gfx::Surface layered;              // premultiplied
  gfx::BLENDFUNCTION blend;
  win::DWORD ulwFlags = 0;
  gfx::COLORREF colourKey = 0;
  gfx::HRGN region = nullptr;        // owned
  gfx::Surface client;               // what GetDC draws on
  std::uint64_t generation = 0;      // counts the layered contents given
};

// What the compositor needs of one visible window.
struct WindowView {
  HWND hwnd;
  win::RECT rect;
  bool layered;  // WS_EX_LAYERED
  const WindowRecord* record;
};

std::recursive_mutex& Lock();
// The records, z-order bottom first; the caller holds Lock(). Brings the list up
// to date with the message core's live top-level windows first.
std::vector<std::pair<HWND, WindowRecord*>> Ordered();
WindowRecord* Find(HWND hwnd);  // caller holds Lock(); creates the record if live

}  // namespace orv::desktop::detail
