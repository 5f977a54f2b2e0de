// The classic look of a window that draws nothing of its own (dialogs and the
// system's controls): frame, caption bar with its title, face, and each
// control as the system draws it.
#pragma once
#include <windows.h>

#include "platform/gfx/sim/surface.h"

namespace orv::desktop {

// Draws the window (at its screen rectangle) and its controls into the frame,
// whose top-left pixel is the screen point origin (a part of the screen being
// drawn anew, or the whole screen at {0, 0}).
void DrawClassicWindow(gfx::Surface& frame, HWND hwnd, POINT origin);

}  // namespace orv::desktop
