// Window timers: WM_TIMER arrives through the owning thread's queue when the timer
// is due, and the timer re-arms itself from that moment. Missed periods do not pile
// up: at most one WM_TIMER per timer is pending.
#pragma once
#include "platform/ui/messages.h"

namespace orv::win {

constexpr UINT USER_TIMER_MINIMUM = 10;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// Starts (or restarts, with a new period) the timer id of a window of the calling
// thread and returns id. hwnd NULL makes a thread timer with a new id, returned.
// 0 with an error for a window of another thread (ERROR_ACCESS_DENIED), a bad
// window, or a window timer of id 0 (ERROR_INVALID_PARAMETER: it could not be
// told from failure). The period is kept within USER_TIMER_MINIMUM..MAXIMUM.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);

// Ends a timer; FALSE (ERROR_INVALID_PARAMETER) when there is none of that id.
BOOL KillTimer(HWND hwnd, UINT_PTR id);

}  // namespace orv::win
