// The system's control classes a dialog template uses: push buttons, edit boxes
// and static text or icons. A click reaches the parent as WM_COMMAND
// (id, BN_CLICKED), as on Windows.
#include <windows.h>

#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD type = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & 0x0F;
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_CLICK:
      if (IsWindowEnabled(hwnd))
        SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_CHAR: {
      std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
      text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
      if (wParam == VK_BACK) {
        if (!text.empty()) text.pop_back();
      } else if (wParam >= 0x20 && wParam < 0x7F) {
        text.push_back(static_cast<char>(wParam));
      } else {
        return 0;
      }
      SetWindowTextA(hwnd, text.c_str());
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case STM_SETICON:
      return DefWindowProcA(hwnd, WM_SETICON, ICON_BIG, static_cast<LPARAM>(wParam));
    case STM_GETICON:
      return DefWindowProcA(hwnd, WM_GETICON, ICON_BIG, 0);
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace orv::ui::detail
