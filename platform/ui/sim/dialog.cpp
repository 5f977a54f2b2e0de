// Dialogs from their templates: making the dialog window and its controls, the
// dialog class's procedure (the dialog procedure first, then the default dialog
// handling), the modal loop, EndDialog and dialog units.
#include <windows.h>

#include <algorithm>

#include "platform/gfx/sim/font.h"
#include "platform/ui/sim/dialog_template.h"
#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

struct DialogState {
  DLGPROC proc = nullptr;
  bool ended = false;
  INT_PTR result = 0;
  // Pixels per 4 horizontal and per 8 vertical dialog units.
  int unitX = 6, unitY = 13;
};

struct Dialogs {
  std::mutex mutex;
  std::map<HWND, std::shared_ptr<DialogState>> byWindow;
};

Dialogs& TheDialogs() {
  static Dialogs* dialogs = new Dialogs;  // never destroyed: windows may end during exit
  return *dialogs;
}

std::shared_ptr<DialogState> DialogOf(HWND hwnd) {
  Dialogs& d = TheDialogs();
  std::lock_guard<std::mutex> lock(d.mutex);
  auto it = d.byWindow.find(hwnd);
  return it == d.byWindow.end() ? nullptr : it->second;
}

void SetDialogState(HWND hwnd, std::shared_ptr<DialogState> state) {
  Dialogs& d = TheDialogs();
  std::lock_guard<std::mutex> lock(d.mutex);
  if (state) d.byWindow[hwnd] = std::move(state);
  else d.byWindow.erase(hwnd);
}

// x * numerator / denominator, rounded half away from zero (as MulDiv).
int Scale(int x, int numerator, int denominator) {
  long long v = static_cast<long long>(x) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(v >= 0 ? (v + half) / denominator : (v - half) / denominator);
}

// Messages whose answer the dialog procedure returns itself (not through DWLP_MSGRESULT).
bool AnswersDirectly(UINT message) {
  return message == WM_INITDIALOG || message == WM_QUERYDRAGICON || message == WM_CTLCOLORDLG ||
         message == WM_CTLCOLORSTATIC;
}

// The first control with WS_TABSTOP that is visible and enabled, or null.
HWND FirstTabStop(HWND dialog) {
  auto stops = SelectWindows([&](const Window& w) {
    return w.parent == dialog && (w.style & WS_CHILD) && (w.style & WS_TABSTOP) && w.enabled;
  });
  return stops.empty() ? nullptr : stops.front();
}

HWND MakeControl(HWND dialog, HINSTANCE instance, const DialogState& state, const DialogItem& item) {
  std::string cls = item.windowClass.ordinal ? ClassOfOrdinal(item.windowClass.ordinal) : item.windowClass.name;
  const char* title = item.title.ordinal ? nullptr : item.title.name.c_str();
  int x = Scale(item.x, state.unitX, 4), y = Scale(item.y, state.unitY, 8);
  int cx = Scale(item.cx, state.unitX, 4), cy = Scale(item.cy, state.unitY, 8);
  HWND control = CreateWindowExA(item.exStyle, cls.c_str(), title, item.style | WS_CHILD, x, y, cx, cy, dialog,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                                 item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()));
  // A static control names its icon by the resource's number.
  if (control && item.title.ordinal && (item.style & 0x1F) == SS_ICON && cls == "STATIC")
    SendMessageA(control, STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(item.title.ordinal))), 0);
  return control;
}

// Makes the dialog window and its controls and runs WM_INITDIALOG. Null (with
// the error set) when the template cannot be found or read, or a control fails.
HWND MakeDialog(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM init,
                std::shared_ptr<DialogState>* stateOut) {
  HRSRC found = FindResourceA(instance, name, RT_DIALOG);
  if (!found) return nullptr;
  DialogTemplate t;
  if (!ParseDialogTemplate(LockResource(LoadResource(instance, found)), SizeofResource(instance, found), &t)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  auto state = std::make_shared<DialogState>();
  state->proc = proc;
  // Dialog units from the dialog font's average character width and line height.
  const int points = (t.style & DS_SETFONT) && t.pointSize ? t.pointSize : 8;
  const orv::gfx::FontMetrics font = orv::gfx::MeasureFont({orv::gfx::PointsToPixels(points), false});
  state->unitX = font.averageWidth;
  state->unitY = font.height;

  int width = Scale(t.cx, state->unitX, 4), height = Scale(t.cy, state->unitY, 8);
  const bool caption = (t.style & WS_CAPTION) == WS_CAPTION;
  if (caption) height += kCaptionHeight;
  RECT origin{0, 0, 0, 0};
  if (owner && !(t.style & DS_ABSALIGN)) GetWindowRect(owner, &origin);
  int x = origin.left + Scale(t.x, state->unitX, 4), y = origin.top + Scale(t.y, state->unitY, 8);
  std::string cls = t.windowClass.name.empty() ? "#32770" : t.windowClass.name;

  HWND dialog = CreateWindowExA(t.exStyle, cls.c_str(), t.title.c_str(), t.style & ~static_cast<DWORD>(WS_VISIBLE),
                                x, y, width, height, owner, nullptr, instance, &state);
  if (!dialog) return nullptr;
  for (const DialogItem& item : t.items) {
    if (!MakeControl(dialog, instance, *state, item) && !(t.style & DS_NOFAILCREATE)) {
      DWORD error = GetLastError();
      DestroyWindow(dialog);
      SetLastError(error);
      return nullptr;
    }
  }
  HWND focus = FirstTabStop(dialog);
  if (SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), init) && focus) SetFocus(focus);
  if (IsWindow(dialog) && (t.style & WS_VISIBLE) && !state->ended) ShowWindow(dialog, SW_SHOWNORMAL);
  *stateOut = state;
  return IsWindow(dialog) ? dialog : nullptr;
}

// The window owning a modal dialog: the top-level window of the parent given.
HWND TopLevel(HWND hwnd) {
  while (hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // MakeDialog hands its state over as the creation parameter.
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* state = static_cast<std::shared_ptr<DialogState>*>(create->lpCreateParams);
    if (state) SetDialogState(hwnd, *state);
  }
  LRESULT result = 0;
  auto state = DialogOf(hwnd);
  INT_PTR handled = state && state->proc ? state->proc(hwnd, message, wParam, lParam) : FALSE;
  if (handled) result = AnswersDirectly(message) ? handled : 0;
  else result = DefDlgProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetDialogState(hwnd, nullptr);
  return result;
}

}  // namespace orv::ui::detail

using namespace orv::ui::detail;

extern "C" {

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  std::shared_ptr<DialogState> state;
  return MakeDialog(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, &state);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  HWND owner = TopLevel(hWndParent);
  std::shared_ptr<DialogState> state;
  HWND dialog = MakeDialog(hInstance, lpTemplateName, owner, lpDialogFunc, dwInitParam, &state);
  if (!dialog) return -1;
  const bool disabledOwner = owner && !EnableWindow(owner, FALSE);
  if (!state->ended && !IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
  MSG msg{};
  while (!state->ended && IsWindow(dialog)) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the quit belongs to the outer loop
      break;
    }
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (disabledOwner) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return state->result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
  auto state = DialogOf(hDlg);
  if (!state) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  state->ended = true;
  state->result = nResult;
  ShowWindow(hDlg, SW_HIDE);
  PostMessageA(hDlg, WM_NULL, 0, 0);  // wakes a modal loop waiting for a message
  return TRUE;
}

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_CLOSE:
      PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
      return 0;
    case DM_GETDEFID: {
      for (HWND control : SelectWindows([&](const Window& w) { return w.parent == hDlg && (w.style & WS_CHILD); }))
        if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
          return MAKELRESULT(GetDlgCtrlID(control), DC_HASDEFID);
      return 0;
    }
    default:
      return DefWindowProcA(hDlg, Msg, wParam, lParam);
  }
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  auto state = DialogOf(hDlg);
  if (!state || !lpRect) {
    SetLastError(state ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  lpRect->left = Scale(lpRect->left, state->unitX, 4);
  lpRect->right = Scale(lpRect->right, state->unitX, 4);
  lpRect->top = Scale(lpRect->top, state->unitY, 8);
  lpRect->bottom = Scale(lpRect->bottom, state->unitY, 8);
  return TRUE;
}

}  // extern "C"
