// The taskbar: a top-most window of class "Shell_TrayWnd" with an empty title
// along the configured edge, and the icons of its notification area.
#pragma once
#include <string>
#include <vector>

#include "platform/desktop/sim/screen.h"
#include "platform/gfx/sim/surface.h"

namespace orv::desktop {

constexpr const char* kTaskbarClass = "Shell_TrayWnd";

// The taskbar window, made on first use on the calling thread (and again if that
// thread has ended); NULL when the set-up has no taskbar.
HWND TaskbarWindow();
// Moves (or makes, or removes) the taskbar window to suit the set-up.
void PlaceTaskbar(const Config& config);

// Notification-area icons, keyed by owner window and id as the shell keys them.
// Adding an existing key replaces its picture and tip. The shell's record of them
// outlives the program that added them, as on Windows, where an icon that was not
// deleted stays behind: the file kNotifyAreaFile in the state folder lists every
// process's icons, one line "<process id> <icon id> <tip>" each.
constexpr const char* kNotifyAreaFile = "notify-area.txt";
void SetNotifyIcon(HWND owner, unsigned id, const gfx::Surface& icon, const std::string& tip);
bool RemoveNotifyIcon(HWND owner, unsigned id);
struct NotifyIcon {
  HWND owner;
  unsigned id;
  gfx::Surface icon;
  std::string tip;
};
std::vector<NotifyIcon> NotifyIcons();
// Where an icon stands on the screen (16 x 16); false when it is not there.
bool NotifyIconRect(HWND owner, unsigned id, RECT* rect);

}  // namespace orv::desktop
