// Registered window messages. The same name gives the same number (0xC000..0xFFFF)
// for the whole process; names are compared without regard to case. On Windows
// the number is shared by every process of the session; here it is agreed only
// within one process, which is all the system needs: the keyboard-hook stand-in
// and the firmware event sink post from inside the tray's own process. A poster in
// another process would need the number handed to it.
#pragma once
#include "platform/ui/messages.h"

namespace orv::win {

// 0 (ERROR_INVALID_PARAMETER) for an empty name, 0 (ERROR_NOT_ENOUGH_QUOTA) when the range is full.
UINT RegisterWindowMessageA(const char* name);

constexpr DWORD MSGFLT_ADD = 1;
constexpr DWORD MSGFLT_REMOVE = 2;

// Lets a message through to this process from less privileged ones. This machine
// has no integrity levels, so every message already comes through; the call only
// checks its arguments.
BOOL ChangeWindowMessageFilter(UINT message, DWORD action);

}  // namespace orv::win
