// A stand-in for a program in front of everything on the simulated desktop: a
// screen-sized window that a film player in full screen would show, maximised
// or not.
#pragma once

namespace orv::desktop {

// The class of the shell's desktop window, and of the root window.
constexpr const char* kShellClass = "Progman";
constexpr const char* kRootClass = "#32769";
// The class of the stand-in program's window.
constexpr const char* kPlayerClass = "OrvPlayer";

enum class PlayerMode { Off, FullScreen, Maximized };
// Puts a screen-sized program window in the foreground (its own thread runs it),
// maximised or not, or takes it away. The change has happened when this returns.
void SetPlayer(PlayerMode mode);
PlayerMode CurrentPlayer();

}  // namespace orv::desktop
