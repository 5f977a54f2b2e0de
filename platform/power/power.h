// Power status and forced hibernation, with the Win32 shapes: the AC line and
// battery from the machine's power source, the shutdown privilege and
// SetSystemPowerState.
#pragma once
#include "platform/base/types.h"

namespace orv::win {

struct SYSTEM_POWER_STATUS {
  BYTE ACLineStatus;         // 0 offline, 1 online, 255 unknown
  BYTE BatteryFlag;          // 255 unknown
  BYTE BatteryLifePercent;   // 0..100, 255 unknown
  BYTE SystemStatusFlag;
  DWORD BatteryLifeTime;     // seconds, 0xFFFFFFFF unknown
  DWORD BatteryFullLifeTime;
};

constexpr LONG ERROR_NOT_READY = 21;
constexpr LONG ERROR_NO_SUCH_PRIVILEGE = 1313;

constexpr BYTE AC_LINE_OFFLINE = 0;
constexpr BYTE AC_LINE_ONLINE = 1;
constexpr BYTE AC_LINE_UNKNOWN = 255;

// Reads the power source. FALSE (ERROR_NOT_READY) when it cannot
// be read; the record then says "unknown" everywhere.
BOOL GetSystemPowerStatus(SYSTEM_POWER_STATUS* status);

// The privilege calls of a hibernation request. This machine's processes may
// always ask for one, so they succeed; they keep the calling order of Win32.
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;
struct LUID { DWORD LowPart; LONG HighPart; };
BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token);
HANDLE GetCurrentProcess();
BOOL LookupPrivilegeValueA(const char* system, const char* name, LUID* luid);
BOOL AdjustTokenPrivilege(HANDLE token, const LUID& luid, DWORD attributes);

// suspend FALSE: hibernate. On this machine the request goes to the simulated
// notebook's power log ("power.log" in the state folder), one line per request.
BOOL SetSystemPowerState(BOOL suspend, BOOL force);

}  // namespace orv::win
