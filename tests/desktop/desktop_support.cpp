// The desktop tests' plain window.
#include "tests/desktop/desktop_support.h"

#include "platform/ui/ui.h"

namespace desktoptest {

HWND ShowPlainWindow(const RECT& place) {
  orv::win::WindowCreate create;
  create.proc = orv::win::DefWindowProcA;
  create.style = orv::win::WS_POPUP;
  create.rect = place;
  HWND hwnd = orv::win::CreateWindowHandle(create);
  if (hwnd) orv::win::ShowWindow(hwnd, orv::win::SW_SHOWNA);
  return hwnd;
}

}  // namespace desktoptest
