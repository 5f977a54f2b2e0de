// A dialog's controls by their ids.
#include <windows.h>

#include "platform/ui/sim/internal.h"

using namespace orv::ui::detail;

extern "C" {

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  auto found = SelectWindows([&](const Window& w) {
    return w.parent == hDlg && (w.style & WS_CHILD) && w.id == static_cast<LONG_PTR>(nIDDlgItem);
  });
  if (found.empty()) {
    SetLastError(IsWindow(hDlg) ? ERROR_CONTROL_ID_NOT_FOUND : ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return found.front();
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  LONG_PTR id = 0;
  WithWindow(hWnd, [&](Window& w) { id = (w.style & WS_CHILD) ? w.id : 0; });
  return static_cast<int>(id);
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SetWindowTextA(control, lpString) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  if (!control) {
    if (lpString && cchMax > 0) lpString[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, lpString, cchMax));
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SendMessageA(control, Msg, wParam, lParam) : 0;
}

}  // extern "C"
