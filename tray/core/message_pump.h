// PumpPendingMessages: handles every message already waiting in the thread's
// queue, so that long handlers and waits keep the program responsive.
#pragma once
#include <windows.h>

#include <functional>

// What the main window offers each message to first (IsDialogMessage for the
// main window); true when it handled the message.
using DialogMessageFilter = std::function<bool(MSG*)>;
void SetDialogMessageFilter(DialogMessageFilter filter);

// Removes and dispatches every waiting message of any window of the thread.
void PumpPendingMessages();
