// The kernel's base calls (winbase.h of the Windows SDK) that belong to no other
// area: the thread's last error, closing handles, clocks and thread and process
// ids. The other areas' kernel calls have headers of their own (synchapi.h,
// fileapi.h, namedpipeapi.h, ...), all reached through windows.h.
#pragma once
#include "windef.h"
#include "winerror.h"

typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME, *PSYSTEMTIME, *LPSYSTEMTIME;

extern "C" {

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD dwErrCode);

// Closes a handle of any kernel object; FALSE with ERROR_INVALID_HANDLE for one that is not open.
BOOL WINAPI CloseHandle(HANDLE hObject);

// Milliseconds of a steady clock, wrapping after 49.7 days.
DWORD WINAPI GetTickCount(void);
void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime);

DWORD WINAPI GetCurrentThreadId(void);
DWORD WINAPI GetCurrentProcessId(void);

}  // extern "C"

// ---- Memory handed to a caller by the system (message texts, security
// descriptors), released with LocalFree. Only fixed memory (LMEM_FIXED, with or
// without LMEM_ZEROINIT) is served; the flags are in minwinbase.h.
extern "C" {
HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
// NULL on success, as on Windows.
HLOCAL WINAPI LocalFree(HLOCAL hMem);
}  // extern "C"

// ---- The system-service areas' calls that the SDK declares in winbase.h, each
// kept in a partial header of its area (as winuser.h is split).
#if __has_include(<ioapiset.h>)
#include <ioapiset.h>
#endif
#if __has_include(<winbase_fs.h>)
#include <winbase_fs.h>
#endif
#if __has_include(<winbase_profile.h>)
#include <winbase_profile.h>
#endif
#if __has_include(<winbase_locale.h>)
#include <winbase_locale.h>
#endif
#if __has_include(<winbase_service.h>)
#include <winbase_service.h>
#endif
#if __has_include(<winbase_power.h>)
#include <winbase_power.h>
#endif
#if __has_include(<winbase_security.h>)
#include <winbase_security.h>
#endif
