// The system's list box: a column of text items, one selected, chosen by a
// click (LBN_SELCHANGE) or a second click on the selected one (LBN_DBLCLK),
// and the arrow keys. Its window text mirrors the items for the screen: one
// line each, the selected one marked by a leading tab.
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gfx/sim/font.h"
#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

struct Items {
  std::vector<std::string> texts;
  int selected = LB_ERR;
};

struct Lists {
  std::mutex mutex;
  std::map<HWND, Items> byWindow;
};

Lists& TheLists() {
  static Lists* lists = new Lists;  // never destroyed: windows may end during exit
  return *lists;
}

constexpr int kTopMargin = 2;

int ItemHeight() { return orv::gfx::MeasureFont({orv::gfx::PointsToPixels(8), false}).height; }

// Runs f on the window's items and then mirrors them into its text.
template <class F>
auto WithItems(HWND hwnd, F f) {
  Lists& l = TheLists();
  std::string mirror;
  std::unique_lock<std::mutex> lock(l.mutex);
  Items& items = l.byWindow[hwnd];
  auto result = f(items);
  for (std::size_t i = 0; i < items.texts.size(); ++i)
    mirror += (i ? "\n" : "") + std::string(static_cast<int>(i) == items.selected ? "\t" : "") + items.texts[i];
  lock.unlock();
  DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(mirror.c_str()));
  return result;
}

void Notify(HWND hwnd, WORD code) {
  if (GetWindowLongPtrA(hwnd, GWL_STYLE) & LBS_NOTIFY)
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LB_ADDSTRING:
      return WithItems(hwnd, [&](Items& items) {
        items.texts.emplace_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
        return static_cast<LRESULT>(items.texts.size() - 1);
      });
    case LB_RESETCONTENT:
      return WithItems(hwnd, [](Items& items) {
        items = Items{};
        return LRESULT{0};
      });
    case LB_GETCOUNT:
      return WithItems(hwnd, [](Items& items) { return static_cast<LRESULT>(items.texts.size()); });
    case LB_GETCURSEL:
      return WithItems(hwnd, [](Items& items) { return static_cast<LRESULT>(items.selected); });
    case LB_SETCURSEL:
      return WithItems(hwnd, [&](Items& items) {
        const int index = static_cast<int>(wParam);
        items.selected = index >= 0 && index < static_cast<int>(items.texts.size()) ? index : LB_ERR;
        return static_cast<LRESULT>(items.selected == index ? index : LB_ERR);
      });
    case LB_GETTEXTLEN:
    case LB_GETTEXT:
      return WithItems(hwnd, [&](Items& items) {
        const std::size_t index = wParam;
        if (index >= items.texts.size()) return static_cast<LRESULT>(LB_ERR);
        if (message == LB_GETTEXT && lParam) {
          const std::string& t = items.texts[index];
          std::copy(t.begin(), t.end(), reinterpret_cast<char*>(lParam));
          reinterpret_cast<char*>(lParam)[t.size()] = '\0';
        }
        return static_cast<LRESULT>(items.texts[index].size());
      });
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd);
      const int index = (static_cast<short>(HIWORD(lParam)) - kTopMargin) / ItemHeight();
      const int before = static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0));
      if (index < 0 || index >= static_cast<int>(SendMessageA(hwnd, LB_GETCOUNT, 0, 0))) return 0;
      if (index == before) {
        Notify(hwnd, LBN_DBLCLK);
      } else {
        SendMessageA(hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(hwnd, LBN_SELCHANGE);
      }
      return 0;
    }
    case WM_KEYDOWN: {
      const int count = static_cast<int>(SendMessageA(hwnd, LB_GETCOUNT, 0, 0));
      int index = static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0));
      if (wParam == VK_DOWN && index + 1 < count) ++index;
      else if (wParam == VK_UP && index > 0) --index;
      else return 0;
      SendMessageA(hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      Notify(hwnd, LBN_SELCHANGE);
      return 0;
    }
    case WM_NCDESTROY: {
      Lists& l = TheLists();
      std::lock_guard<std::mutex> lock(l.mutex);
      l.byWindow.erase(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace orv::ui::detail
