// IsDialogMessage: the dialog's keyboard. Keys posted to the dialog itself stand
// for keys typed into the control that has the focus.
#include <windows.h>

#include <algorithm>

#include "platform/ui/sim/internal.h"

using namespace orv::ui::detail;

namespace {

// The control after current among those that take Tab, wrapping round.
HWND NextTabStop(HWND dialog, HWND current) {
  auto stops = SelectWindows([&](const Window& w) {
    return w.parent == dialog && (w.style & WS_CHILD) && (w.style & WS_TABSTOP) && w.enabled;
  });
  if (stops.empty()) return nullptr;
  auto it = std::find(stops.begin(), stops.end(), current);
  return it == stops.end() || ++it == stops.end() ? stops.front() : *it;
}

// Sends the dialog the command of a button (or of a missing one, with no window).
void Command(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

extern "C" {

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
  if (!hDlg || !lpMsg || !IsWindow(hDlg)) return FALSE;
  if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
  HWND focus = GetFocus();
  if (!IsChild(hDlg, focus)) focus = nullptr;
  if (lpMsg->message == WM_KEYDOWN) {
    switch (lpMsg->wParam) {
      case VK_ESCAPE:
        Command(hDlg, IDCANCEL);
        return TRUE;
      case VK_RETURN: {
        LRESULT def = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
        Command(hDlg, HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK);
        return TRUE;
      }
      case VK_TAB:
        if (HWND next = NextTabStop(hDlg, focus)) SetFocus(next);
        return TRUE;
      default: {
        // The key's character goes to the focus at once, ahead of keys queued after it.
        MSG typed{};
        if (TranslateMessage(lpMsg) && PeekMessageA(&typed, lpMsg->hwnd, WM_CHAR, WM_CHAR, PM_REMOVE))
          IsDialogMessageA(hDlg, &typed);
        return TRUE;
      }
    }
  }
  if (lpMsg->message == WM_CHAR) {
    MSG forwarded = *lpMsg;
    if (forwarded.hwnd == hDlg) forwarded.hwnd = focus;
    if (forwarded.hwnd) DispatchMessageA(&forwarded);
    return TRUE;
  }
  DispatchMessageA(lpMsg);
  return TRUE;
}

}  // extern "C"
