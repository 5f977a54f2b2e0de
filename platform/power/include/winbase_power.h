// The power status and power-state request that the SDK declares in winbase.h (a
// partial header of the simulated build's winbase.h). The status is the simulated
// notebook's power source (its provider must be running).
#pragma once
#include "windef.h"

typedef struct _SYSTEM_POWER_STATUS {
  BYTE ACLineStatus;
  BYTE BatteryFlag;
  BYTE BatteryLifePercent;
  BYTE Reserved1;
  DWORD BatteryLifeTime;
  DWORD BatteryFullLifeTime;
} SYSTEM_POWER_STATUS, *LPSYSTEM_POWER_STATUS;

#define AC_LINE_OFFLINE 0x00
#define AC_LINE_ONLINE 0x01
#define AC_LINE_BACKUP_POWER 0x02
#define AC_LINE_UNKNOWN 0xff
#define BATTERY_FLAG_HIGH 0x01
#define BATTERY_FLAG_LOW 0x02
#define BATTERY_FLAG_CRITICAL 0x04
#define BATTERY_FLAG_CHARGING 0x08
#define BATTERY_FLAG_NO_BATTERY 0x80
#define BATTERY_FLAG_UNKNOWN 0xff
#define BATTERY_PERCENTAGE_UNKNOWN 0xff
#define BATTERY_LIFE_UNKNOWN 0xffffffff

extern "C" {

// Reads the power source: the AC line, the battery's percentage, and
// BATTERY_FLAG_CHARGING while on AC; the battery's times are unknown. FALSE with
// ERROR_NOT_READY when the source cannot be read; the record then says "unknown"
// everywhere.
BOOL WINAPI GetSystemPowerStatus(LPSYSTEM_POWER_STATUS lpSystemPowerStatus);

// fSuspend TRUE: sleep, FALSE: hibernate. Needs the shutdown privilege enabled
// (ERROR_PRIVILEGE_NOT_HELD). The simulated notebook is told to go (ERROR_NOT_READY
// when its provider is not running) and returns at once; each request it took is
// recorded as one line of "power.log" in the state folder,
// "<seconds since 1970> hibernate|suspend[ forced]".
BOOL WINAPI SetSystemPowerState(BOOL fSuspend, BOOL fForce);

}  // extern "C"
