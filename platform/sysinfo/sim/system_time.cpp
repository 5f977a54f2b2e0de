// The system time as a FILETIME, from the host's real-time clock.
#include <windows.h>

#include <time.h>

extern "C" VOID WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime) {
  if (!lpSystemTimeAsFileTime) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  // FILETIME counts 100 ns from 1601.
  unsigned long long ticks = (static_cast<unsigned long long>(now.tv_sec) + 11644473600ULL) * 10000000ULL +
                             static_cast<unsigned long long>(now.tv_nsec) / 100;
  *lpSystemTimeAsFileTime = FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}
