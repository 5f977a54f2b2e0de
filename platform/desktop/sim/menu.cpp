// Popup menus: CreatePopupMenu, AppendMenuA, DestroyMenu and TrackPopupMenu,
// which shows the menu in a top-most window of class "#32768" at the point
// given and runs its own message loop until an item is chosen (click, or the
// arrow keys and Enter) or the menu is dismissed (Esc, a click elsewhere).
#include "platform/desktop/sim/menu.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/desktop/sim/screen.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/gfx/sim/font.h"
#include "platform/ui/sim/class_window.h"

namespace orv::desktop {
namespace {

constexpr int kItemHeight = 22, kSeparatorHeight = 9, kBorder = 3, kTextLeft = 28, kTextRight = 24;

struct Item {
  UINT flags;
  UINT_PTR id;
  std::string text;
};

// A menu shown by TrackPopupMenu: its window's state.
struct Shown {
  std::vector<MenuItemLook> items;
  int hot = -1;
  bool done = false;
  bool chosen = false;
  UINT id = 0;
  bool rightButton = false;
};

struct Menus {
  std::mutex mutex;
  std::map<HMENU, std::vector<Item>> menus;
  std::map<HWND, std::shared_ptr<Shown>> shown;
  std::vector<HWND> order;  // shown menus, most recent last
  std::uintptr_t next = 0x4000;
};

Menus& TheMenus() {
  static Menus* menus = new Menus;  // never destroyed: menus may close during exit
  return *menus;
}

// The items of a menu handle, or null with ERROR_INVALID_MENU_HANDLE (caller holds the lock).
std::vector<Item>* ItemsOf(Menus& m, HMENU menu) {
  auto it = m.menus.find(menu);
  if (it != m.menus.end()) return &it->second;
  SetLastError(ERROR_INVALID_MENU_HANDLE);
  return nullptr;
}

std::shared_ptr<Shown> ShownOf(HWND hwnd) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  auto it = m.shown.find(hwnd);
  return it == m.shown.end() ? nullptr : it->second;
}

int ItemAt(const Shown& s, HWND hwnd, int clientY) {
  RECT r;
  GetWindowRect(hwnd, &r);
  for (std::size_t i = 0; i < s.items.size(); ++i)
    if (clientY + r.top >= s.items[i].rect.top && clientY + r.top < s.items[i].rect.bottom) return static_cast<int>(i);
  return -1;
}

bool Choosable(const MenuItemLook& item) { return !item.separator && item.enabled; }

void Choose(Shown& s, int index) {
  if (index < 0 || index >= static_cast<int>(s.items.size()) || !Choosable(s.items[static_cast<std::size_t>(index)]))
    return;
  s.chosen = true;
  s.id = s.items[static_cast<std::size_t>(index)].id;
  s.done = true;
}

void MoveHot(Shown& s, int step) {
  const int n = static_cast<int>(s.items.size());
  for (int i = 1; i <= n; ++i) {
    int candidate = ((s.hot < 0 ? (step > 0 ? -1 : 0) : s.hot) + step * i + n * 2) % n;
    if (Choosable(s.items[static_cast<std::size_t>(candidate)])) {
      s.hot = candidate;
      return;
    }
  }
}

LRESULT CALLBACK MenuProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto s = ShownOf(hwnd);
  if (!s) return DefWindowProcA(hwnd, message, wParam, lParam);
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_MOUSEMOVE:
      s->hot = ItemAt(*s, hwnd, y);
      return 0;
    case WM_LBUTTONUP:
      Choose(*s, ItemAt(*s, hwnd, y));
      return 0;
    case WM_RBUTTONUP:
      if (s->rightButton) Choose(*s, ItemAt(*s, hwnd, y));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) s->done = true;
      else if (wParam == VK_DOWN) MoveHot(*s, 1);
      else if (wParam == VK_UP) MoveHot(*s, -1);
      else if (wParam == VK_RETURN) Choose(*s, s->hot);
      return 0;
    case WM_CANCELMODE:
      s->done = true;
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// The menu's items laid out from (x, y); the window's size.
SIZE Layout(const std::vector<Item>& items, int x, int y, std::vector<MenuItemLook>* out) {
  const gfx::FontSpec font{gfx::PointsToPixels(8), false};
  int width = 0, height = kBorder;
  for (const Item& item : items)
    if (!(item.flags & MF_SEPARATOR)) width = std::max(width, gfx::TextWidth(font, item.text));
  width += kTextLeft + kTextRight + kBorder * 2;
  for (const Item& item : items) {
    MenuItemLook look;
    look.id = static_cast<UINT>(item.id);
    look.text = item.text;
    look.separator = (item.flags & MF_SEPARATOR) != 0;
    look.enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
    const int h = look.separator ? kSeparatorHeight : kItemHeight;
    look.rect = RECT{x + kBorder, y + height, x + width - kBorder, y + height + h};
    height += h;
    out->push_back(look);
  }
  return SIZE{width, height + kBorder};
}

}  // namespace

bool MenuLookOf(HWND window, MenuLook* look) {
  auto s = ShownOf(window);
  if (!s || !look) return false;
  look->window = window;
  look->items = s->items;
  look->hot = s->hot;
  return true;
}

bool OpenMenu(MenuLook* look) {
  HWND window = nullptr;
  {
    Menus& m = TheMenus();
    std::lock_guard<std::mutex> lock(m.mutex);
    for (auto it = m.order.rbegin(); it != m.order.rend() && !window; ++it)
      if (IsWindowVisible(*it)) window = *it;
  }
  return window && MenuLookOf(window, look);
}

}  // namespace orv::desktop

using namespace orv::desktop;

extern "C" {

HMENU WINAPI CreatePopupMenu(void) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  HMENU menu = reinterpret_cast<HMENU>(m.next++);
  m.menus[menu];
  return menu;
}

BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::vector<Item>* menu = ItemsOf(m, hMenu);
  if (!menu) return FALSE;
  if (uFlags & (MF_POPUP | MF_BITMAP | MF_OWNERDRAW)) {  // submenus and pictures: not on this desktop
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  menu->push_back({uFlags, uIDNewItem, (uFlags & MF_SEPARATOR) || !lpNewItem ? std::string() : lpNewItem});
  return TRUE;
}

BOOL WINAPI DestroyMenu(HMENU hMenu) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  if (!m.menus.erase(hMenu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect) {
  (void)nReserved;
  (void)prcRect;
  std::vector<Item> items;
  {
    Menus& m = TheMenus();
    std::lock_guard<std::mutex> lock(m.mutex);
    const std::vector<Item>* menu = ItemsOf(m, hMenu);
    if (!menu) return FALSE;
    items = *menu;
  }
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // Aligned at the point as the flags ask, then kept on the screen.
  std::vector<MenuItemLook> probe;
  const SIZE size = Layout(items, 0, 0, &probe);
  if (uFlags & TPM_RIGHTALIGN) x -= size.cx;
  else if (uFlags & TPM_CENTERALIGN) x -= size.cx / 2;
  if (uFlags & TPM_BOTTOMALIGN) y -= size.cy;
  else if (uFlags & TPM_VCENTERALIGN) y -= size.cy / 2;
  const Config c = CurrentConfig();
  if (x + size.cx > c.width) x = std::max(0, x - size.cx);
  if (y + size.cy > c.height) y = std::max(0, y - size.cy);
  auto shown = std::make_shared<Shown>();
  Layout(items, x, y, &shown->items);
  shown->rightButton = (uFlags & TPM_RIGHTBUTTON) != 0;

  TaskbarWindow();  // made before the menu, so that the menu stands above it
  HWND window = orv::ui::CreateClassWindow(kMenuClass, MenuProc, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                                           RECT{x, y, x + size.cx, y + size.cy}, "");
  if (!window) return FALSE;
  {
    Menus& m = TheMenus();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.shown[window] = shown;
    m.order.push_back(window);
  }
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNA);
  // The menu's loop: keys of the thread go to the menu; everything else goes on.
  MSG msg{};
  while (!shown->done && IsWindow(window)) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) msg.hwnd = window;
    if (msg.message == WM_CHAR || msg.message == WM_KEYUP) continue;
    DispatchMessageA(&msg);
  }
  {
    Menus& m = TheMenus();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.shown.erase(window);
    m.order.erase(std::remove(m.order.begin(), m.order.end(), window), m.order.end());
  }
  ShowWindow(window, SW_HIDE);
  DestroyWindow(window);
  if (uFlags & TPM_RETURNCMD) return shown->chosen ? static_cast<BOOL>(shown->id) : 0;
  if (shown->chosen && !(uFlags & TPM_NONOTIFY)) PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(shown->id, 0), 0);
  return TRUE;
}

}  // extern "C"
