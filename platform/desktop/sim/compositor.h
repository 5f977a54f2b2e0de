// The compositor: the desktop background, the taskbar with its notification area
// and every visible top-level window in z-order, drawn into one frame of the
// screen's size; and screenshots of that frame.
#pragma once
#include <windows.h>

#include <string>

#include "platform/gfx/sim/status.h"
#include "platform/gfx/sim/surface.h"

namespace orv::desktop {

// Composes the current screen into out (resized to the screen). The screen keeps
// its last frame and draws anew only the rectangles where a window, the taskbar
// or its icons changed since; a new screen set-up draws it all.
void ComposeFrame(gfx::Surface* out);
// Composes the whole screen from nothing, leaving the kept frame alone: the
// reference the kept frame is checked against, and the cost it saves.
void ComposeWholeFrame(gfx::Surface* out);
// How the kept frame was brought up to date so far.
struct ComposeStats {
  unsigned long long wholeFrames = 0;  // drawn from nothing
  unsigned long long partFrames = 0;   // only the changed rectangles drawn
  long long lastPixels = 0;            // pixels drawn for the latest frame
};
ComposeStats CurrentComposeStats();
// Composes and writes the frame as a PNG file (host path).
gfx::Status SaveScreenshot(const std::string& path);
// A DC on the screen (GetDC(NULL)); release with ReleaseDC. Taking it is cheap:
// it holds the frame composed when the screen was first looked at, since the
// screen is composed on request (screenshots) rather than continuously.
HDC ScreenDC();

}  // namespace orv::desktop
