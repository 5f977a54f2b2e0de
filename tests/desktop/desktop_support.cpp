// The desktop tests' plain window.
#include "tests/desktop/desktop_support.h"

#include "tests/support/test_window.h"

namespace desktoptest {

HWND ShowPlainWindow(const RECT& place) {
  HWND hwnd = orv::test::CreateTestWindow(DefWindowProcA, "", WS_POPUP, place);
  if (hwnd) ShowWindow(hwnd, SW_SHOWNA);
  return hwnd;
}

}  // namespace desktoptest
