// Screenshots across processes: the process that owns the desktop (the tray
// program) serves its composed frame on the socket "desktop.sock" in the state
// folder; `orv-desktop screenshot out.png` asks for it. One request per
// connection: the line "FRAME\n", answered by "PNG <bytes>\n" and the PNG, or by
// "ERR <reason>\n"; or the line "PLAYER fullscreen|maximized|off\n", which puts
// a screen-sized program in the foreground (or takes it away), answered "OK\n".
#pragma once
#include <string>

#include "platform/gfx/status.h"

namespace orv::desktop {

// Starts serving on a thread of its own; true if serving (also when already).
bool StartFrameServer();
// Stops serving and removes the socket.
void StopFrameServer();

// Asks the serving process for its frame and writes it to outPath. FileNotFound
// when nothing serves; Aborted when the answer does not come in time.
gfx::Status RequestScreenshot(const std::string& outPath, int timeoutMs = 5000);
// Asks the serving process to show or end the stand-in program in front ("fullscreen",
// "maximized", "off"); InvalidParameter for another mode.
gfx::Status RequestPlayer(const std::string& mode, int timeoutMs = 5000);

}  // namespace orv::desktop
