// Test windows through RegisterClassExA and CreateWindowExA.
#include "tests/support/test_window.h"

#include <cstdio>

namespace orv::test {

HWND CreateTestWindow(WNDPROC proc, const char* title, DWORD style, RECT rect) {
  char name[64];
  std::snprintf(name, sizeof name, "OrvTest%p", reinterpret_cast<void*>(proc));
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(nullptr, name, &existing)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
  }
  return CreateWindowExA(0, name, title, style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                         nullptr, nullptr, nullptr, nullptr);
}

}  // namespace orv::test
