// Power status and forced hibernation, with the Win32 shapes: the AC line and
// battery from the machine's power source, the process token's shutdown
// privilege and SetSystemPowerState.
#pragma once
#include "platform/base/types.h"

namespace orv::win {

struct SYSTEM_POWER_STATUS {
  BYTE ACLineStatus;         // 0 offline, 1 online, 255 unknown
  BYTE BatteryFlag;          // 8 charging, 255 unknown
  BYTE BatteryLifePercent;   // 0..100, 255 unknown
  BYTE SystemStatusFlag;
  DWORD BatteryLifeTime;     // seconds, 0xFFFFFFFF unknown
  DWORD BatteryFullLifeTime;
};


constexpr BYTE AC_LINE_OFFLINE = 0;
constexpr BYTE AC_LINE_ONLINE = 1;
constexpr BYTE AC_LINE_UNKNOWN = 255;

// Reads the power source. FALSE (ERROR_NOT_READY) when it cannot be read; the
// record then says "unknown" everywhere.
BOOL GetSystemPowerStatus(SYSTEM_POWER_STATUS* status);

// The process token. Its handle is a kernel handle (CloseHandle).
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;
constexpr char SE_SHUTDOWN_NAME[] = "SeShutdownPrivilege";

struct LUID {
  DWORD LowPart;
  LONG HighPart;
};
struct LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
};
struct TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[1];
};

// The pseudo handle of the calling process.
HANDLE GetCurrentProcess();
BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token);
// Only the shutdown privilege is known here (ERROR_NO_SUCH_PRIVILEGE otherwise).
BOOL LookupPrivilegeValueA(const char* systemName, const char* name, LUID* luid);
// As on Win32: TRUE also when not every privilege could be set, with the last
// error ERROR_NOT_ALL_ASSIGNED; ERROR_SUCCESS when all were. The token needs
// TOKEN_ADJUST_PRIVILEGES (ERROR_ACCESS_DENIED). Previous state is not kept
// here: previousState must be NULL (ERROR_INVALID_PARAMETER).
BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength);

// suspend TRUE: sleep, FALSE: hibernate. Needs the shutdown privilege enabled
// (ERROR_PRIVILEGE_NOT_HELD). On this machine the simulated notebook cannot
// sleep, so each request is recorded as one line of "power.log" in the state
// folder: "<seconds since 1970> hibernate|suspend[ forced]".
BOOL SetSystemPowerState(BOOL suspend, BOOL force);

}  // namespace orv::win
