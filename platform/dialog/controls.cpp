// The controls' window procedures and the per-dialog table of controls by id.
#include "platform/dialog/controls.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/error.h"
#include "platform/ui/message.h"

namespace orv::win {
namespace {

struct Control {
  HWND dialog;
  ControlKind kind;
  int id;
};

struct Table {
  std::mutex mutex;
  std::map<HWND, Control> controls;          // by control window
  std::map<HWND, std::vector<HWND>> order;   // a dialog's controls in creation order
  std::map<HWND, HWND> focus;                // a dialog's edit box taking keys
};

Table& TheTable() {
  static Table* table = new Table;
  return *table;
}

bool Lookup(HWND control, Control* out) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.controls.find(control);
  if (it == t.controls.end()) return false;
  *out = it->second;
  return true;
}

void Forget(HWND control) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.controls.find(control);
  if (it == t.controls.end()) return;
  auto& list = t.order[it->second.dialog];
  for (auto i = list.begin(); i != list.end(); ++i)
    if (*i == control) {
      list.erase(i);
      break;
    }
  if (list.empty()) t.order.erase(it->second.dialog);
  auto f = t.focus.find(it->second.dialog);
  if (f != t.focus.end() && f->second == control) t.focus.erase(f);
  t.controls.erase(it);
}

LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Control c{};
  if (message == WM_NCDESTROY) {
    Forget(hwnd);
    return 0;
  }
  if (!Lookup(hwnd, &c)) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_GETTEXT) return GetWindowTextA(hwnd, reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
  if (message == WM_SETTEXT) return SetWindowTextA(hwnd, reinterpret_cast<const char*>(lParam));
  const bool button = c.kind == ControlKind::Button || c.kind == ControlKind::DefaultButton;
  if (button && message == BM_CLICK) {
    SendMessageA(c.dialog, WM_COMMAND, (static_cast<WPARAM>(BN_CLICKED) << 16) | static_cast<WORD>(c.id),
                 reinterpret_cast<LPARAM>(hwnd));
    return 0;
  }
  if (c.kind == ControlKind::Edit && message == WM_CHAR) {
    char text[1024];
    GetWindowTextA(hwnd, text, sizeof text);
    std::string s = text;
    if (wParam == VK_BACK) {
      if (!s.empty()) s.pop_back();
    } else if (wParam >= 0x20 && wParam < 0x7F && s.size() + 1 < sizeof text) {
      s.push_back(static_cast<char>(wParam));
    }
    SetWindowTextA(hwnd, s.c_str());
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HWND CreateDialogControl(HWND dialog, ControlKind kind, int id, const char* text, RECT rect) {
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  WindowCreate create;
  create.proc = ControlProc;
  create.style = WS_CHILD | WS_VISIBLE;
  create.parent = dialog;
  create.rect = rect;
  create.title = text ? text : "";
  HWND hwnd = CreateWindowHandle(create);
  if (!hwnd) return nullptr;
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.controls[hwnd] = Control{dialog, kind, id};
  t.order[dialog].push_back(hwnd);
  if (kind == ControlKind::Edit && !t.focus.count(dialog)) t.focus[dialog] = hwnd;
  return hwnd;
}

ControlKind GetControlKind(HWND control) {
  Control c{};
  return Lookup(control, &c) ? c.kind : ControlKind::Static;
}

int GetDlgCtrlID(HWND control) {
  Control c{};
  return Lookup(control, &c) ? c.id : 0;
}

HWND GetDlgItem(HWND dialog, int id) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.order.find(dialog);
  if (it != t.order.end())
    for (HWND h : it->second)
      if (t.controls[h].id == id) return h;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

BOOL SetDlgItemTextA(HWND dialog, int id, const char* text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextA(control, text ? text : "") : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, char* text, int maxCount) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    if (text && maxCount > 0) text[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, text, maxCount));
}

HWND GetDefaultButton(HWND dialog) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.order.find(dialog);
  if (it != t.order.end())
    for (HWND h : it->second)
      if (t.controls[h].kind == ControlKind::DefaultButton) return h;
  return nullptr;
}

HWND NextEditControl(HWND dialog, HWND current) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.order.find(dialog);
  if (it == t.order.end()) return nullptr;
  std::vector<HWND> edits;
  for (HWND h : it->second)
    if (t.controls[h].kind == ControlKind::Edit) edits.push_back(h);
  for (std::size_t i = 0; i < edits.size(); ++i)
    if (edits[i] == current) return edits[(i + 1) % edits.size()];
  return edits.empty() ? nullptr : edits.front();
}

void DestroyDialogControls(HWND dialog) {
  std::vector<HWND> controls;
  {
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.order.find(dialog);
    if (it != t.order.end()) controls = it->second;
  }
  for (HWND h : controls) DestroyWindow(h);  // each forgets itself as it goes
}

HWND GetDialogFocus(HWND dialog) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.focus.find(dialog);
  return it == t.focus.end() ? nullptr : it->second;
}

void SetDialogFocus(HWND dialog, HWND control) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (control) t.focus[dialog] = control;
  else t.focus.erase(dialog);
}

}  // namespace orv::win
