// The simulated build's <sysinfoapi.h>, with the version records of the SDK's
// winnt.h: the operating system's version, and the system time.
#pragma once
#include "windef.h"

typedef struct _OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
} OSVERSIONINFOA, *POSVERSIONINFOA, *LPOSVERSIONINFOA;

typedef struct _OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
} OSVERSIONINFOEXA, *POSVERSIONINFOEXA, *LPOSVERSIONINFOEXA;

#define VER_PLATFORM_WIN32_NT 2
#define VER_NT_WORKSTATION 0x0000001

extern "C" {

// dwOSVersionInfoSize must be the size of one of the two records (else FALSE with
// ERROR_INSUFFICIENT_BUFFER). This machine reports the version the system was
// made for, 6.0.6002 (a workstation with service pack 2), unless ORV_OS_VERSION
// ("5.1", "6.0", ...) names another; FALSE with ERROR_INVALID_DATA when that text
// is malformed.
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation);
// The host's clock, in 100 ns from 1601 (UTC).
VOID WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime);

}  // extern "C"
