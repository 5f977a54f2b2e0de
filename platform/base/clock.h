// Clocks: milliseconds since start (GetTickCount) and the local wall-clock time.
#pragma once
#include "platform/base/types.h"

namespace orv::win {

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

// Milliseconds of a steady clock, wrapping after 49.7 days as Win32's does.
DWORD GetTickCount();

void GetLocalTime(SYSTEMTIME* time);

}  // namespace orv::win
