// The simulated screen: its size and the taskbar's edge and thickness, and the
// Win32 calls that report them (screen metrics, work area, taskbar position).
// The set-up comes from the environment (ORV_SCREEN="1280x800",
// ORV_TASKBAR="bottom:30" | "top:30" | "left:60" | "right:60" | "none"), else
// from "desktop.ini" in the state folder (lines "screen=1280x800" and
// "taskbar=bottom:30"), else 1280 x 800 with a 30-pixel taskbar at the bottom.
#pragma once
#include <string>

#include "platform/base/types.h"
#include <windows.h>

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
win::RECT TaskbarRect(const Config& config);
// The screen less the taskbar.
win::RECT WorkArea(const Config& config);

}  // namespace orv::desktop

namespace orv::win {

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
int GetSystemMetrics(int index);

constexpr UINT SPI_GETWORKAREA = 0x0030;
// SPI_GETWORKAREA fills the RECT at pvParam; other actions answer FALSE with
// ERROR_INVALID_PARAMETER.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, void* pvParam, UINT winIni);

constexpr DWORD ABM_GETTASKBARPOS = 0x00000005;
constexpr UINT ABE_LEFT = 0, ABE_TOP = 1, ABE_RIGHT = 2, ABE_BOTTOM = 3;
struct APPBARDATA {
  DWORD cbSize;
  HWND hWnd;
  UINT uCallbackMessage;
  UINT uEdge;
  RECT rc;
  LPARAM lParam;
};
// ABM_GETTASKBARPOS: TRUE with the taskbar's window, edge and rectangle; FALSE
// when there is no taskbar. Other messages answer 0.
UINT_PTR SHAppBarMessage(DWORD message, APPBARDATA* data);

}  // namespace orv::win
