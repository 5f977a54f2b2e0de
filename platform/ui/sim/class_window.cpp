// Registering a simulation class on first use and making its window.
#include "platform/ui/sim/class_window.h"

namespace orv::ui {

HWND CreateClassWindow(const char* className, WNDPROC proc, DWORD style, DWORD exStyle, const RECT& rect,
                       const char* title) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(nullptr, className, &existing)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);  // a thread that lost the race finds the class registered
  }
  HWND hwnd = CreateWindowExA(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  if (hwnd) SetPropA(hwnd, kSystemWindowProp, reinterpret_cast<HANDLE>(1));
  return hwnd;
}

}  // namespace orv::ui
