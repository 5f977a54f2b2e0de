// The desktop's records of the top-level windows, shared by the window calls, the
// taskbar, the compositor and the frame server. Not for use outside
// platform/desktop/sim.
#pragma once
#include <windows.h>

#include <cstdint>
#include <mutex>  // recursive: observers of other layers may call back in
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::desktop::detail {

struct WindowRecord {
  bool topmost = false;
  std::string className;
  bool layeredSet = false;           // UpdateLayeredWindow has given contents
  gfx::Surface layered;              // premultiplied
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
  DWORD ulwFlags = 0;
  COLORREF colourKey = 0;
  HRGN region = nullptr;             // owned
  gfx::Surface client;               // what GetDC draws on
  int clientDcs = 0;                 // DCs on the client pixels not yet released
  std::uint64_t clientVersion = 0;   // counts the DCs handed out and given back
  std::uint64_t generation = 0;      // counts the layered contents given
  std::int64_t changedUs = 0;        // steady clock: when contents were last given or it was last shown
};

std::recursive_mutex& Lock();
// The records, z-order bottom first; the caller holds Lock(). Brings the list up
// to date with the message core's live top-level windows first.
std::vector<std::pair<HWND, WindowRecord*>> Ordered();
WindowRecord* Find(HWND hwnd);  // caller holds Lock(); creates the record if live
// The steady clock (CLOCK_MONOTONIC) in microseconds, the time base of changedUs.
std::int64_t NowUs();
// Restacks a window as SetWindowPos's hWndInsertAfter says (caller holds Lock()).
void Restack(HWND hwnd, HWND insertAfter);

}  // namespace orv::desktop::detail
