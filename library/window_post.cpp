// Posting that never reaches a thread's queue for want of a window.
#include "library/window_post.h"

#include <windows.h>

namespace orv::lib {

bool PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // No window registered: the post fails without effect, as it would for a window that is gone.
  if (!window) return false;
  return PostMessageA(window, message, wParam, lParam) != 0;
}

}  // namespace orv::lib
