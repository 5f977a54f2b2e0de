// The tray's pump of pending messages.
#include "tray/core/message_pump.h"

#include <utility>

namespace {
DialogMessageFilter g_dialogFilter;
}  // namespace

void SetDialogMessageFilter(DialogMessageFilter filter) { g_dialogFilter = std::move(filter); }

void PumpPendingMessages() {
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit belongs to whichever loop runs the thread: put it back for it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (g_dialogFilter && g_dialogFilter(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
