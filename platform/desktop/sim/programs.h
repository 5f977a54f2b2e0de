// Windows of other programs on the simulated desktop: a program started from a
// program file (the shell's stand-in for a Windows program, orv-app) asks the
// process that serves the desktop to show a window for it, titled with its
// name; the window stays while that process lives and goes when it ends.
// Closing the window asks the program to end.
#pragma once
#include <string>
#include <sys/types.h>

#include "platform/gfx/sim/status.h"

namespace orv::desktop {

// The class of a program's window.
constexpr const char* kProgramClass = "OrvProgram";

// The serving side of the request line "PROGRAM <pid> <title>": shows the
// window (on a thread of its own) and answers "OK\n", or "ERR <reason>\n" for a
// process that does not live, a title that is empty, too long or not one line.
// False when the line is no PROGRAM request.
bool ProgramReply(const std::string& request, std::string* reply);

// Asks the serving process to show a window for the process pid.
// FileNotFound when nothing serves the desktop.
gfx::Status RequestProgramWindow(pid_t pid, const std::string& title, int timeoutMs = 5000);

}  // namespace orv::desktop
