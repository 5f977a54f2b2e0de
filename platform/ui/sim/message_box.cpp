// MessageBoxA: a small modal box of the simulated desktop with the message and
// its buttons, driven by the mouse and keys like every dialog here.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/ui/sim/class_window.h"

namespace {

constexpr const char* kStateProp = "OrvMessageBox";
constexpr int kText = 0xFFFF;  // the message's static, as the system numbers it

struct BoxState {
  bool cancel = false;  // the box has a Cancel button
  bool done = false;
  int result = IDOK;
};

LRESULT CALLBACK MessageBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = static_cast<BoxState*>(GetPropA(hwnd, kStateProp));
  if (!s) return DefDlgProcA(hwnd, message, wParam, lParam);
  if (message == WM_CLOSE) {
    s->result = s->cancel ? IDCANCEL : IDOK;
    s->done = true;
    return 0;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    // Esc with OK alone is OK, as the system answers.
    s->result = LOWORD(wParam) == IDCANCEL && s->cancel ? IDCANCEL : IDOK;
    s->done = true;
    return 0;
  }
  return DefDlgProcA(hwnd, message, wParam, lParam);
}

HWND Control(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  BoxState state;
  state.cancel = (uType & 0xF) != MB_OK;
  const std::string text = lpText ? lpText : "";
  // Wide enough for the text on two lines, within the screen.
  const int width = std::clamp(static_cast<int>(text.size()) * 6 / 2 + 60, 240, 560);
  constexpr int kHeight = 130;
  RECT place{(1280 - width) / 2, (800 - kHeight) / 2, (1280 + width) / 2, (800 + kHeight) / 2};
  RECT owner;
  if (hWnd && GetWindowRect(hWnd, &owner) && owner.right > owner.left)
    place = RECT{owner.left + 30, owner.top + 30, owner.left + 30 + width, owner.top + 30 + kHeight};
  HWND box = orv::ui::CreateClassWindow("OrvMessageBox", MessageBoxProc, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                        WS_EX_DLGMODALFRAME, place, lpCaption ? lpCaption : "Error");
  if (!box) return 0;
  SetPropA(box, kStateProp, &state);
  Control(box, "STATIC", text.c_str(), SS_LEFT | SS_NOPREFIX, kText, 14, 12, width - 28, 36);
  const int buttons = state.cancel ? 2 : 1, left = (width - buttons * 84 + 8) / 2;
  HWND ok = Control(box, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, left, 58, 76, 24);
  if (state.cancel) Control(box, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, left + 84, 58, 76, 24);
  HWND top = hWnd;
  while (top && (GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
  const bool disabledOwner = top && !EnableWindow(top, FALSE);
  ShowWindow(box, SW_SHOWNORMAL);
  SetForegroundWindow(box);
  SetFocus(ok);
  MSG msg{};
  while (!state.done && IsWindow(box)) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the quit belongs to the outer loop
      break;
    }
    if (!IsDialogMessageA(box, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (disabledOwner) EnableWindow(top, TRUE);
  RemovePropA(box, kStateProp);
  DestroyWindow(box);
  if (top) SetForegroundWindow(top);
  return state.result;
}
