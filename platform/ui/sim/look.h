// What the simulated screen and its automation need to know of a window's
// controls beyond the Win32 calls: each child's class, text, style, place on
// the screen and state, the keyboard focus of a window's thread, and the hot
// keys registered. Read from the window table without sending messages, so the
// desktop's own thread can look while the program's thread is busy.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orv::ui {

struct ControlLook {
  HWND hwnd = nullptr;
  int id = 0;
  std::string className;  // as the class was registered ("Button", "Static", ...)
  std::string text;
  DWORD style = 0;
  RECT rect{0, 0, 0, 0};  // on the screen
  bool visible = false, enabled = true, focused = false, pushed = false;
  HICON icon = nullptr;   // STM_SETICON's (big) icon
};

// The client area's top-left corner on the screen (below a caption bar).
POINT ClientOrigin(HWND hwnd);
// The child windows of a window, in creation order (children's children after
// their parent).
std::vector<ControlLook> ChildControls(HWND parent);
// The keyboard focus of the thread that owns the window (null when none).
HWND FocusOfThread(HWND hwnd);

// Where BeginPaint and the system's own drawing get a window's DC: the
// desktop, which keeps the pixels, installs these once.
using WindowDcGetter = std::function<HDC(HWND)>;
using WindowDcReleaser = std::function<void(HWND, HDC)>;
void SetWindowDcSource(WindowDcGetter get, WindowDcReleaser release);

// A registered hot key that matches the modifiers (MOD_ALT, MOD_CONTROL,
// MOD_SHIFT) and virtual key: its window and id.
bool FindHotKey(UINT modifiers, UINT vk, HWND* window, int* id);

}  // namespace orv::ui
