// The compositor: the desktop background, the taskbar with its notification area
// and every visible top-level window in z-order, drawn into one frame of the
// screen's size; and screenshots of that frame.
#pragma once
#include <windows.h>

#include <string>

#include "platform/gfx/sim/status.h"
#include "platform/gfx/sim/surface.h"

namespace orv::desktop {

// Composes the current screen into out (resized to the screen).
void ComposeFrame(gfx::Surface* out);
// Composes and writes the frame as a PNG file (host path).
gfx::Status SaveScreenshot(const std::string& path);
// A DC on the screen (GetDC(NULL)); release with ReleaseDC. Taking it is cheap:
// it holds the frame composed when the screen was first looked at, since the
// screen is composed on request (screenshots) rather than continuously.
HDC ScreenDC();

}  // namespace orv::desktop
