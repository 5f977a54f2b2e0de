// The simulated keyboard inside orv_ui: key events queued for the low-level
// hooks, and the notebook's keyboard that produces them.
#pragma once
#include <windows.h>

namespace orv::ui::detail {

// Queues one key event (WM_KEYDOWN or WM_KEYUP) for the low-level keyboard
// hooks; the input thread hands it to each hook in turn.
void QueueKeyEvent(WPARAM message, const KBDLLHOOKSTRUCT& key);

// The notebook's keyboard: while it runs, the notebook's volume and brightness
// keys arrive as key events. Started with the first low-level hook, stopped
// with the last.
void StartNotebookKeyboard();
void StopNotebookKeyboard();

}  // namespace orv::ui::detail
