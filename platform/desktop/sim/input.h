// The desktop's mouse and keyboard, driven from outside (orv-desktop, tests):
// mouse events go to the window under the pointer, keys to the focus of the
// active window (or to a hot key's window, or to an open menu), clicks on the
// notification area to the icon's owner; and what automation reads of the
// windows and their controls. Each call answers "OK" or "ERR <reason>", or the
// lines asked for; the messages are posted, so their effects follow.
#pragma once
#include <windows.h>

#include <string>

namespace orv::desktop {

// The pointer's position, kept by the mouse calls (GetCursorPos).
void CursorPosition(int* x, int* y);

std::string MoveMouse(int x, int y);
std::string Click(int x, int y, bool right);
// Half a click or a whole one: the button pressed, let go, or both, at (x, y).
std::string MouseButtons(int x, int y, bool right, bool press, bool release);
// "esc", "enter", "tab", "space", "up", "down", "left", "right", "back", a
// letter or digit, each with "ctrl+", "alt+", "shift+" in front, several
// separated by spaces.
std::string PressKeys(const std::string& keys);
std::string TypeText(const std::string& text);
// A click on a notification icon by its id: "left" or "right".
std::string ClickTrayIcon(unsigned id, bool right);
// Where a notification icon stands on the screen: "x y w h".
std::string TrayIconPlace(unsigned id);
// A click on the control of that id in the visible top-level window of that title.
std::string PressControl(const std::string& title, int id);
// Posts WM_COMMAND with the id (notification 0, no control: as a menu's command)
// to the top-level window of that title, shown or hidden, as another program may.
std::string PostCommand(const std::string& title, int id);
// Posts a message to the visible top-level window of that title, as another
// program of the session would (a spy tool, a test standing in for a sender).
std::string PostToWindow(const std::string& title, UINT message, WPARAM wParam, LPARAM lParam);
// The visible top-level windows, top of the z-order first: "x y w h\tclass\ttitle".
std::string ListWindows();
// The controls of the visible window of that title:
// "id\tclass\ttext\tx y w h\tenabled\tvisible\ticon" (enabled and visible 1 or 0;
// icon "icon" when the control shows one, else "-").
std::string ListControls(const std::string& title);
// The open menu's items: "id\ttext", and "-" for a separator.
std::string ListMenu();
// The open menu's items with their places: "id\ttext\tx y w h", "-" for a separator.
std::string ListMenuPlaces();
// Clicks the open menu's item of that text.
std::string ChooseMenuItem(const std::string& text);

}  // namespace orv::desktop
