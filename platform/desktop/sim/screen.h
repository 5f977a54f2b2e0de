// The simulated screen's set-up: its size and the taskbar's edge and thickness,
// which the metrics, work-area and monitor calls report.
// The set-up comes from the environment (ORV_SCREEN="1280x800",
// ORV_TASKBAR="bottom:30" | "top:30" | "left:60" | "right:60" | "none"), else
// from "desktop.ini" in the state folder (lines "screen=1280x800" and
// "taskbar=bottom:30"), else 1280 x 800 with a 30-pixel taskbar at the bottom.
#pragma once
#include <windows.h>

#include <string>


namespace orv::desktop {

enum class Edge { Left = 0, Top = 1, Right = 2, Bottom = 3, None = 4 };

struct Config {
  int width = 1280;
  int height = 800;
  Edge taskbarEdge = Edge::Bottom;
  int taskbarThickness = 30;
};

// Parses "screen" and "taskbar" values into config; false (config unchanged for
// that value) when the text is malformed or out of range (sides 320..16384,
// taskbar 1..half the screen).
bool ParseScreen(const std::string& text, Config* config);
bool ParseTaskbar(const std::string& text, Config* config);

// The set-up in force: read once from the environment and the state folder.
Config CurrentConfig();
// Replaces the set-up for this process (tests, the desktop tool); the taskbar
// window follows.
void SetConfig(const Config& config);
// Forgets the set-up read so the next use reads it again.
void ReloadConfig();

// The taskbar's rectangle on the screen (empty for Edge::None).
RECT TaskbarRect(const Config& config);
// The screen less the taskbar.
RECT WorkArea(const Config& config);

}  // namespace orv::desktop
