// Console control handlers, as SetConsoleCtrlHandler: SIGINT arrives as
// CTRL_C_EVENT, SIGTERM as CTRL_BREAK_EVENT and SIGHUP as CTRL_CLOSE_EVENT. The
// handlers run on a thread of their own, the most recently added first, until
// one returns TRUE; when none does, the signal's default action ends the process.
#pragma once
#include "platform/service/errors.h"

namespace orv::svc {

constexpr DWORD CTRL_C_EVENT = 0;
constexpr DWORD CTRL_BREAK_EVENT = 1;
constexpr DWORD CTRL_CLOSE_EVENT = 2;

using PHANDLER_ROUTINE = BOOL (*)(DWORD ctrlType);

// Adds or removes a handler (handler null with add TRUE/FALSE is not supported).
BOOL SetConsoleCtrlHandler(PHANDLER_ROUTINE handler, BOOL add);

}  // namespace orv::svc
