// Windows as the message core knows them: a handle in a table of live windows, a
// window procedure or handler object, the owning thread, a rectangle, visibility,
// text, styles and named properties. Other platform folders (layered windows, the
// desktop) build on these handles through the properties and the observers below.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/messages.h"

namespace orv::win {

// A window procedure as an object, for classes that own their window.
class WindowHandler {
 public:
  virtual ~WindowHandler() = default;
  virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;

constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_STYLE = -16;

// What CreateWindowEx takes, less the class: exactly one of proc and handler.
struct WindowCreate {
  WNDPROC proc = nullptr;
  WindowHandler* handler = nullptr;  // not owned; must outlive the window
  std::string title;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{0, 0, 0, 0};
  HWND parent = nullptr;
  void* param = nullptr;  // lpCreateParams
};

// Creates a window owned by the calling thread and sends it WM_CREATE (lParam:
// the WindowCreate). NULL when the description is unusable (no procedure,
// ERROR_INVALID_PARAMETER) or WM_CREATE answers -1.
HWND CreateWindowHandle(const WindowCreate& create);

// Sends WM_DESTROY and WM_NCDESTROY, then the handle is invalid: its timers end,
// its queued messages are dropped, and posting or sending to it fails. Only the
// owning thread may destroy a window (FALSE, ERROR_ACCESS_DENIED otherwise).
BOOL DestroyWindow(HWND hwnd);

BOOL IsWindow(HWND hwnd);
// The owning thread's id (0 for an invalid window); *processId gets the process's.
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);

BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// Returns whether the window was visible before; WM_SHOWWINDOW is sent on a change.
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL SetWindowTextA(HWND hwnd, const char* text);
// Copies at most maxCount-1 bytes plus NUL; returns the bytes copied.
int GetWindowTextA(HWND hwnd, char* text, int maxCount);
HWND GetParent(HWND hwnd);

// GWLP_USERDATA, GWLP_WNDPROC, GWL_STYLE, GWL_EXSTYLE; the Set form returns the old value.
std::intptr_t GetWindowLongPtrA(HWND hwnd, int index);
std::intptr_t SetWindowLongPtrA(HWND hwnd, int index, std::intptr_t value);

// Named properties (names compared case-insensitively, as atoms are).
BOOL SetPropA(HWND hwnd, const char* name, HANDLE data);
HANDLE GetPropA(HWND hwnd, const char* name);
HANDLE RemovePropA(HWND hwnd, const char* name);

// Calls back for every live window without a parent, oldest first, until it answers FALSE.
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);

// The default window procedure: WM_CLOSE destroys the window,
// WM_QUERYENDSESSION answers TRUE, everything else 0.
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace orv::win

namespace orv::ui {

// Changes that a desktop or compositor layer follows. Observers are called on the
// thread that made the change, after the change, without any lock held.
enum class WindowEvent { Created, Destroyed, Moved, Shown, Hidden, TextChanged };
using WindowObserver = std::function<void(HWND, WindowEvent)>;
int AddWindowObserver(WindowObserver observer);  // returns a cookie
void RemoveWindowObserver(int cookie);

}  // namespace orv::ui
