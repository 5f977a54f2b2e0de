// The controls' look and state for the simulated screen, and the hot keys
// (RegisterHotKey / UnregisterHotKey), whose table the desktop's keyboard
// consults before a key goes to the focus.
#include "platform/ui/sim/look.h"

#include <algorithm>
#include <mutex>

#include "platform/ui/sim/internal.h"

namespace orv::ui {
namespace {

struct HotKey {
  HWND window;
  int id;
  UINT modifiers;
  UINT vk;
};

struct HotKeys {
  std::mutex mutex;
  std::vector<HotKey> keys;
};

HotKeys& TheHotKeys() {
  static HotKeys* keys = new HotKeys;  // never destroyed: windows may end during exit
  return *keys;
}

constexpr UINT kModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

void Collect(HWND parent, POINT origin, std::vector<ControlLook>* out) {
  const HWND focus = FocusOfThread(parent);
  for (HWND child : detail::SelectWindows([&](const detail::Window& w) { return w.parent == parent && (w.style & WS_CHILD); })) {
    ControlLook look;
    look.hwnd = child;
    const bool live = detail::WithWindow(child, [&](detail::Window& w) {
      look.id = static_cast<int>(w.id);
      look.className = w.cls ? w.cls->name : std::string();
      look.text = w.text;
      look.style = w.style;
      look.rect = RECT{origin.x + w.rect.left, origin.y + w.rect.top, origin.x + w.rect.right, origin.y + w.rect.bottom};
      look.visible = w.visible;
      look.enabled = w.enabled;
      look.pushed = w.pushed;
      look.icon = w.iconBig;
    });
    if (!live) continue;
    look.focused = child == focus;
    out->push_back(look);
    Collect(child, POINT{look.rect.left, look.rect.top}, out);
  }
}

}  // namespace

POINT ClientOrigin(HWND hwnd) {
  POINT origin{0, 0};
  HWND parent = nullptr;
  detail::WithWindow(hwnd, [&](detail::Window& w) {
    origin = POINT{w.rect.left, w.rect.top};
    if (w.style & WS_CHILD) parent = w.parent;
    else if ((w.style & WS_CAPTION) == WS_CAPTION) origin.y += detail::kCaptionHeight;
  });
  if (parent) {  // a child's rectangle is in its parent's client coordinates
    POINT up = ClientOrigin(parent);
    origin.x += up.x;
    origin.y += up.y;
  }
  return origin;
}

std::vector<ControlLook> ChildControls(HWND parent) {
  std::vector<ControlLook> out;
  Collect(parent, ClientOrigin(parent), &out);
  return out;
}

HWND FocusOfThread(HWND hwnd) {
  auto record = detail::FindWindowRecord(hwnd);
  if (!record) return nullptr;
  auto queue = detail::QueueOfThread(record->thread);
  if (!queue) return nullptr;
  std::lock_guard<std::mutex> lock(queue->mutex);
  return IsWindow(queue->focus) ? queue->focus : nullptr;
}

bool FindHotKey(UINT modifiers, UINT vk, HWND* window, int* id) {
  HotKeys& h = TheHotKeys();
  std::lock_guard<std::mutex> lock(h.mutex);
  for (const HotKey& k : h.keys) {
    if ((k.modifiers & kModifierMask) != (modifiers & kModifierMask) || k.vk != vk || !IsWindow(k.window)) continue;
    *window = k.window;
    *id = k.id;
    return true;
  }
  return false;
}

}  // namespace orv::ui

extern "C" {

BOOL WINAPI RegisterHotKey(HWND hWnd, int id, UINT fsModifiers, UINT vk) {
  if (hWnd && !orv::ui::detail::OwnWindowRecord(hWnd)) return FALSE;
  orv::ui::HotKeys& h = orv::ui::TheHotKeys();
  std::lock_guard<std::mutex> lock(h.mutex);
  // Keys of windows that have gone are free again.
  h.keys.erase(std::remove_if(h.keys.begin(), h.keys.end(), [](const orv::ui::HotKey& k) { return !IsWindow(k.window); }),
               h.keys.end());
  for (const orv::ui::HotKey& k : h.keys) {
    const bool sameKey = (k.modifiers & orv::ui::kModifierMask) == (fsModifiers & orv::ui::kModifierMask) && k.vk == vk;
    if (sameKey || (k.window == hWnd && k.id == id)) {
      SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
      return FALSE;
    }
  }
  h.keys.push_back({hWnd, id, fsModifiers, vk});
  return TRUE;
}

BOOL WINAPI UnregisterHotKey(HWND hWnd, int id) {
  orv::ui::HotKeys& h = orv::ui::TheHotKeys();
  std::lock_guard<std::mutex> lock(h.mutex);
  auto it = std::find_if(h.keys.begin(), h.keys.end(),
                         [&](const orv::ui::HotKey& k) { return k.window == hWnd && k.id == id; });
  if (it == h.keys.end()) {
    SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
    return FALSE;
  }
  h.keys.erase(it);
  return TRUE;
}

}  // extern "C"
