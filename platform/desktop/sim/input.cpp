// Mouse, keyboard and notification-area input of the simulated desktop, and the
// automation's view of windows, controls and the open menu.
#include "platform/desktop/sim/input.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <sstream>
#include <vector>

#include "platform/desktop/sim/foreground.h"
#include "platform/desktop/sim/menu.h"
#include "platform/desktop/sim/state.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/gfx/sim/font.h"
#include "platform/ui/sim/look.h"

namespace orv::desktop {
namespace {

std::atomic<int> g_cursorX{0}, g_cursorY{0};

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

bool IsShellClass(const std::string& c) {
  return c == kTaskbarClass || c == kShellClass || c == kRootClass;
}

// Visible top-level windows, top of the z-order first, with their classes.
std::vector<std::pair<HWND, std::string>> TopDown() {
  std::vector<std::pair<HWND, std::string>> out;
  std::lock_guard<std::recursive_mutex> lock(detail::Lock());
  for (auto& [hwnd, record] : detail::Ordered())
    if (IsWindowVisible(hwnd)) out.emplace_back(hwnd, record->className);
  std::reverse(out.begin(), out.end());
  return out;
}

std::string Title(HWND hwnd) {
  char text[512] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string OneLine(std::string s) {
  std::replace(s.begin(), s.end(), '\t', ' ');
  std::replace(s.begin(), s.end(), '\n', ' ');
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// Controls that let the mouse through to their parent, as the system's statics
// and group boxes do.
bool Transparent(const ui::ControlLook& c) {
  const std::string cls = Lower(c.className);
  if (cls == "static") return !(c.style & SS_NOTIFY);
  return cls == "button" && (c.style & 0x0F) == BS_GROUPBOX;
}

// The window that gets a mouse event at (x, y), and the point in its client
// coordinates; null when the point hits no window of a program.
HWND Target(int x, int y, POINT* client) {
  for (auto& [hwnd, cls] : TopDown()) {
    RECT r;
    if (IsShellClass(cls) || !GetWindowRect(hwnd, &r) || !Inside(r, x, y)) continue;
    HWND hit = hwnd;
    for (const ui::ControlLook& c : ui::ChildControls(hwnd))
      if (c.visible && c.enabled && !Transparent(c) && Inside(c.rect, x, y)) hit = c.hwnd;
    POINT origin = ui::ClientOrigin(hit);
    *client = POINT{x - origin.x, y - origin.y};
    return hit;
  }
  return nullptr;
}

HWND TopLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

// A click on the notification area: the icon's callback message, if it has one.
bool TrayAt(int x, int y, bool right) {
  for (const NotifyIcon& icon : NotifyIcons()) {
    RECT r;
    if (!NotifyIconRect(icon.owner, icon.id, &r) || !Inside(r, x, y)) continue;
    if (icon.callback) {
      PostMessageA(icon.owner, icon.callback, icon.id, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN);
      PostMessageA(icon.owner, icon.callback, icon.id, right ? WM_RBUTTONUP : WM_LBUTTONUP);
    }
    return true;
  }
  return false;
}

// The window that takes keys: the open menu, else the focus of the active window.
HWND KeyTarget() {
  MenuLook menu;
  if (OpenMenu(&menu)) return menu.window;
  for (auto& [hwnd, cls] : TopDown()) {
    const LONG_PTR ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    if (IsShellClass(cls) || cls == kPlayerClass || (ex & (WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW)) ||
        !IsWindowEnabled(hwnd))
      continue;
    HWND focus = ui::FocusOfThread(hwnd);
    return focus && IsChild(hwnd, focus) ? focus : hwnd;
  }
  return nullptr;
}

struct Key {
  UINT modifiers = 0;
  UINT vk = 0;
};

bool ParseKey(const std::string& token, Key* key) {
  std::string rest = Lower(token);
  for (;;) {
    std::size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size()) break;
    std::string mod = rest.substr(0, plus);
    if (mod == "ctrl") key->modifiers |= MOD_CONTROL;
    else if (mod == "alt") key->modifiers |= MOD_ALT;
    else if (mod == "shift") key->modifiers |= MOD_SHIFT;
    else return false;
    rest = rest.substr(plus + 1);
  }
  static const std::pair<const char*, UINT> kNames[] = {
      {"esc", VK_ESCAPE}, {"escape", VK_ESCAPE}, {"enter", VK_RETURN}, {"tab", VK_TAB}, {"space", VK_SPACE},
      {"up", VK_UP},      {"down", VK_DOWN},     {"left", VK_LEFT},    {"right", VK_RIGHT}, {"back", VK_BACK},
      {"delete", VK_DELETE}};
  for (auto& [name, vk] : kNames)
    if (rest == name) {
      key->vk = vk;
      return true;
    }
  if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
    key->vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(rest[0])));
    return true;
  }
  return false;
}

void SendKey(const Key& key) {
  HWND window = nullptr;
  int id = 0;
  if (ui::FindHotKey(key.modifiers, key.vk, &window, &id)) {
    PostMessageA(window, WM_HOTKEY, static_cast<WPARAM>(id), MAKELPARAM(key.modifiers, key.vk));
    return;
  }
  HWND target = KeyTarget();
  if (!target) return;
  const UINT down = (key.modifiers & MOD_ALT) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const UINT up = (key.modifiers & MOD_ALT) ? WM_SYSKEYUP : WM_KEYUP;
  PostMessageA(target, down, key.vk, 1);
  PostMessageA(target, up, key.vk, static_cast<LPARAM>(0xC0000001u));
}

HWND WindowTitled(const std::string& title) {
  for (auto& [hwnd, cls] : TopDown())
    if (!IsShellClass(cls) && Title(hwnd) == title) return hwnd;
  return nullptr;
}

std::string Rect(const RECT& r) {
  std::ostringstream out;
  out << r.left << ' ' << r.top << ' ' << r.right - r.left << ' ' << r.bottom - r.top;
  return out.str();
}

}  // namespace

void CursorPosition(int* x, int* y) {
  *x = g_cursorX;
  *y = g_cursorY;
}

std::string MoveMouse(int x, int y) {
  g_cursorX = x;
  g_cursorY = y;
  POINT at;
  if (HWND target = Target(x, y, &at))
    if (IsWindowEnabled(TopLevelOf(target))) PostMessageA(target, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  return "OK\n";
}

std::string Click(int x, int y, bool right) { return MouseButtons(x, y, right, true, true); }

std::string MouseButtons(int x, int y, bool right, bool press, bool release) {
  g_cursorX = x;
  g_cursorY = y;
  MenuLook menu;
  RECT menuRect;
  if (OpenMenu(&menu) && GetWindowRect(menu.window, &menuRect) && !Inside(menuRect, x, y)) {
    // A click beside an open menu only closes it.
    PostMessageA(menu.window, WM_CANCELMODE, 0, 0);
    return "OK\n";
  }
  if (TrayAt(x, y, right)) return "OK\n";
  POINT at;
  HWND target = Target(x, y, &at);
  if (!target) return "OK\n";
  HWND top = TopLevelOf(target);
  if (!IsWindowEnabled(top)) return "OK\n";  // a window behind a modal dialog takes no clicks
  SetForegroundWindow(top);
  const LPARAM where = MAKELPARAM(at.x, at.y);
  PostMessageA(target, WM_MOUSEMOVE, press ? 0 : (right ? MK_RBUTTON : MK_LBUTTON), where);
  if (press) PostMessageA(target, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, where);
  if (release) PostMessageA(target, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, where);
  return "OK\n";
}

std::string PressKeys(const std::string& keys) {
  std::istringstream in(keys);
  std::vector<Key> parsed;
  std::string token;
  while (in >> token) {
    Key key;
    if (!ParseKey(token, &key)) return "ERR unknown key " + token + "\n";
    parsed.push_back(key);
  }
  if (parsed.empty()) return "ERR no key\n";
  for (const Key& key : parsed) SendKey(key);
  return "OK\n";
}

std::string TypeText(const std::string& text) {
  HWND target = KeyTarget();
  if (!target) return "ERR no window takes keys\n";
  for (unsigned char c : text) PostMessageA(target, WM_CHAR, c, 1);
  return "OK\n";
}

std::string ClickTrayIcon(unsigned id, bool right) {
  for (const NotifyIcon& icon : NotifyIcons()) {
    RECT r;
    if (icon.id != id || !NotifyIconRect(icon.owner, icon.id, &r)) continue;
    return Click((r.left + r.right) / 2, (r.top + r.bottom) / 2, right);
  }
  return "ERR no such icon\n";
}

std::string TrayIconPlace(unsigned id) {
  for (const NotifyIcon& icon : NotifyIcons()) {
    RECT r;
    if (icon.id == id && NotifyIconRect(icon.owner, icon.id, &r)) return Rect(r) + "\n";
  }
  return "ERR no such icon\n";
}

std::string PressControl(const std::string& title, int id) {
  HWND window = WindowTitled(title);
  if (!window) return "ERR no window titled " + title + "\n";
  for (const ui::ControlLook& c : ui::ChildControls(window))
    if (c.id == id && c.visible) return Click((c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2, false);
  return "ERR no such control\n";
}

std::string PostCommand(const std::string& title, int id) {
  std::vector<HWND> windows;
  {
    std::lock_guard<std::recursive_mutex> lock(detail::Lock());
    for (auto& [hwnd, record] : detail::Ordered())
      if (!IsShellClass(record->className)) windows.push_back(hwnd);
  }
  for (HWND hwnd : windows)
    if (!(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) && Title(hwnd) == title) {
      PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
      return "OK\n";
    }
  return "ERR no window titled " + title + "\n";
}

std::string PostToWindow(const std::string& title, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = WindowTitled(title);
  if (!window) return "ERR no window titled " + title + "\n";
  return PostMessageA(window, message, wParam, lParam) ? "OK\n" : "ERR the message was not posted\n";
}

std::string ListWindows() {
  std::string out;
  for (auto& [hwnd, cls] : TopDown()) {
    RECT r;
    if (IsShellClass(cls) || !GetWindowRect(hwnd, &r)) continue;
    out += Rect(r) + "\t" + cls + "\t" + OneLine(Title(hwnd)) + "\n";
  }
  return out + "END\n";
}

std::string ListControls(const std::string& title) {
  HWND window = WindowTitled(title);
  if (!window) return "ERR no window titled " + title + "\n";
  std::string out;
  for (const ui::ControlLook& c : ui::ChildControls(window))
    out += std::to_string(c.id) + "\t" + c.className + "\t" + OneLine(c.text) + "\t" + Rect(c.rect) + "\t" +
           (c.enabled ? "1" : "0") + "\t" + (c.visible ? "1" : "0") + "\t" + (c.icon ? "icon" : "-") + "\n";
  return out + "END\n";
}

std::string ListMenu() {
  MenuLook menu;
  if (!OpenMenu(&menu)) return "ERR no menu is open\n";
  std::string out;
  for (const MenuItemLook& item : menu.items)
    out += item.separator ? "-\n" : std::to_string(item.id) + "\t" + OneLine(item.text) + "\n";
  return out + "END\n";
}

std::string ListMenuPlaces() {
  MenuLook menu;
  if (!OpenMenu(&menu)) return "ERR no menu is open\n";
  std::string out;
  for (const MenuItemLook& item : menu.items)
    out += item.separator ? "-\n" : std::to_string(item.id) + "\t" + OneLine(item.text) + "\t" + Rect(item.rect) + "\n";
  return out + "END\n";
}

std::string ChooseMenuItem(const std::string& text) {
  MenuLook menu;
  if (!OpenMenu(&menu)) return "ERR no menu is open\n";
  for (const MenuItemLook& item : menu.items)
    if (!item.separator && (item.text == text || gfx::WithoutMnemonics(item.text) == text))
      return Click((item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2, false);
  return "ERR no item " + text + "\n";
}

}  // namespace orv::desktop

extern "C" {

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
  if (!lpPoint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int x, y;
  orv::desktop::CursorPosition(&x, &y);
  *lpPoint = POINT{x, y};
  return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
  orv::desktop::MoveMouse(X, Y);
  return TRUE;
}

}  // extern "C"
