// The simulated build's <minwinbase.h>: the records the file and I/O calls share,
// the overlapped-operation record, a find search's entry and LocalAlloc's flags.
#pragma once
#include "windef.h"

// An overlapped operation's status while it runs (winnt.h).
#define STATUS_PENDING (static_cast<DWORD>(0x00000103))

typedef struct _OVERLAPPED {
  ULONG_PTR Internal;      // the operation's status, STATUS_PENDING while it runs
  ULONG_PTR InternalHigh;  // bytes transferred
  union {
    struct {
      DWORD Offset;
      DWORD OffsetHigh;
    };
    PVOID Pointer;
  };
  HANDLE hEvent;
} OVERLAPPED, *LPOVERLAPPED;

#define HasOverlappedIoCompleted(lpOverlapped) (static_cast<DWORD>((lpOverlapped)->Internal) != STATUS_PENDING)

// LocalAlloc's flags (winbase.h).
#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

typedef struct _WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *PWIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;
