// The system's control classes a dialog template uses: push buttons, edit boxes
// and static text or icons. A click reaches the parent as WM_COMMAND
// (id, BN_CLICKED), as on Windows: through BM_CLICK, or the left button pressed
// and let go over the button.
#include <windows.h>

#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

// An owner-drawn button's look comes from its parent: first its colours
// (WM_CTLCOLORBTN), then the drawing itself (WM_DRAWITEM).
void DrawOwnerButton(HWND hwnd, HDC dc, UINT action) {
  HWND parent = GetParent(hwnd);
  if (!dc || !parent) return;
  SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
  bool pushed = false;
  WithWindow(hwnd, [&](Window& w) { pushed = w.pushed; });
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  item.itemAction = action;
  item.itemState = (pushed ? ODS_SELECTED : 0) | (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED) |
                   (GetFocus() == hwnd ? ODS_FOCUS : 0);
  item.hwndItem = hwnd;
  item.hDC = dc;
  item.rcItem = ClientRectOf(hwnd);
  SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD type = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & 0x0F;
  switch (message) {
    case WM_GETDLGCODE:
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      if (type == BS_OWNERDRAW) return DLGC_BUTTON;
      return DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTATE: {
      bool changed = false;
      WithWindow(hwnd, [&](Window& w) {
        changed = w.pushed != (wParam != 0);
        w.pushed = wParam != 0;
      });
      if (changed && type == BS_OWNERDRAW) {
        HDC dc = SystemWindowDc(hwnd);
        DrawOwnerButton(hwnd, dc, ODA_SELECT);
        ReleaseSystemWindowDc(hwnd, dc);
      }
      return 0;
    }
    case WM_PAINT:
      if (type == BS_OWNERDRAW) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        DrawOwnerButton(hwnd, dc, ODA_DRAWENTIRE);
        if (dc) EndPaint(hwnd, &ps);
        return 0;
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case BM_GETSTATE: {
      bool pushed = false;
      WithWindow(hwnd, [&](Window& w) { pushed = w.pushed; });
      return (pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    }
    case WM_LBUTTONDOWN:
      // A push button takes the focus and shows itself held down until the button is let go.
      if (type == BS_GROUPBOX) return 0;
      SetFocus(hwnd);
      SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_LBUTTONUP: {
      const bool pushed = SendMessageA(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED;
      SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
      if (pushed) SendMessageA(hwnd, BM_CLICK, 0, 0);
      return 0;
    }
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
    case STM_SETICON: {
      // An icon static takes the icon's size (32 x 32), as the system's does.
      const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
      if (wParam && (style & 0x1F) == SS_ICON && !(style & (SS_CENTERIMAGE | SS_REALSIZEIMAGE)))
        WithWindow(hwnd, [](Window& w) {
          w.rect.right = w.rect.left + 32;
          w.rect.bottom = w.rect.top + 32;
        });
      return DefWindowProcA(hwnd, WM_SETICON, ICON_BIG, static_cast<LPARAM>(wParam));
    }
    case STM_GETICON:
      return DefWindowProcA(hwnd, WM_GETICON, ICON_BIG, 0);
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace orv::ui::detail
