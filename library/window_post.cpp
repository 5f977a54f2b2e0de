// Posting through the user-interface layer's message queues.
#include "library/window_post.h"

#include <windows.h>

namespace orv::lib {

bool PostToWindow(HWND window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  // No window registered: the post fails without effect, as it would for a window that is gone.
  if (!window) return false;
  return PostMessageA(window, message, wParam, static_cast<LPARAM>(lParam)) != 0;
}

}  // namespace orv::lib
