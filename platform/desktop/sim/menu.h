// The popup menus of TrackPopupMenu as the screen and its automation see them:
// the open menu's window, its items with their places, the item under the
// mouse or chosen by the arrow keys.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace orv::desktop {

constexpr const char* kMenuClass = "#32768";

struct MenuItemLook {
  UINT id = 0;
  std::string text;
  RECT rect{0, 0, 0, 0};  // on the screen
  bool separator = false, enabled = true;
};

struct MenuLook {
  HWND window = nullptr;
  std::vector<MenuItemLook> items;
  int hot = -1;  // the highlighted item's index
};

// The menu shown in a menu window; false for another window.
bool MenuLookOf(HWND window, MenuLook* look);
// The open menu, if any (the most recent one).
bool OpenMenu(MenuLook* look);

}  // namespace orv::desktop
