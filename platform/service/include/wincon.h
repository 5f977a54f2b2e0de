// The simulated build's <wincon.h>: console control handlers. The console's
// events come as this machine's signals do: Ctrl+C in the terminal (SIGINT) is
// CTRL_C_EVENT, Ctrl+\ (SIGQUIT) CTRL_BREAK_EVENT, and a request to end the
// program (SIGTERM) or the terminal going away (SIGHUP) CTRL_CLOSE_EVENT.
#pragma once
#include "windef.h"

#define CTRL_C_EVENT 0
#define CTRL_BREAK_EVENT 1
#define CTRL_CLOSE_EVENT 2
#define CTRL_LOGOFF_EVENT 5
#define CTRL_SHUTDOWN_EVENT 6

typedef BOOL(WINAPI* PHANDLER_ROUTINE)(DWORD CtrlType);

extern "C" {

// The handlers run on a thread of their own, the most recently added first, until
// one returns TRUE. When none does, the process ends as the event's default would
// end it; after a CTRL_CLOSE_EVENT it ends even when one did, once that handler
// has returned (a handler that has more to do before the end does it before it
// returns). HandlerRoutine NULL with Add TRUE makes the process ignore
// CTRL_C_EVENT; with Add FALSE it restores the default.
BOOL WINAPI SetConsoleCtrlHandler(PHANDLER_ROUTINE HandlerRoutine, BOOL Add);

}  // extern "C"
