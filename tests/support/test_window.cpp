// Test windows: a class of the simulation's own per procedure.
#include "tests/support/test_window.h"

#include <cstdio>

#include "platform/ui/sim/class_window.h"

namespace orv::test {

HWND CreateTestWindow(WNDPROC proc, const char* title, DWORD style, RECT rect) {
  char name[64];
  std::snprintf(name, sizeof name, "OrvTest%p", reinterpret_cast<void*>(proc));
  return orv::ui::CreateClassWindow(name, proc, style, 0, rect, title);
}

}  // namespace orv::test
