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

// ---- Global memory blocks, as streams and the clipboard take them. A movable
// block (GMEM_MOVEABLE) is reached through GlobalLock, which counts its locks;
// a fixed one's handle is its address. GlobalFree answers NULL on success and
// the handle for one that is not a live block.
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
extern "C" {
HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
LPVOID WINAPI GlobalLock(HGLOBAL hMem);
// TRUE while the block stays locked, FALSE once its last lock is gone (then
// GetLastError is NO_ERROR).
BOOL WINAPI GlobalUnlock(HGLOBAL hMem);
SIZE_T WINAPI GlobalSize(HGLOBAL hMem);
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);
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
