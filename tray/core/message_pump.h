// PumpPendingMessages: handles every message already waiting in the thread's
// queue, so that long handlers and waits keep the program responsive.
#pragma once
#include <functional>

#include "platform/ui/messages.h"

// What the main window offers each message to first (IsDialogMessage for the
// main window); true when it handled the message.
using DialogMessageFilter = std::function<bool(orv::win::MSG*)>;
void SetDialogMessageFilter(DialogMessageFilter filter);

// Removes and dispatches every waiting message of any window of the thread.
void PumpPendingMessages();
