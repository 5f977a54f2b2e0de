// Power broadcasts and power-setting notifications (a partial header of the
// simulated build's winuser.h), with the power source's setting GUID and its data
// values of the SDK's winnt.h.
#pragma once
#include "windef.h"

#define PBT_APMQUERYSUSPEND 0x0000
#define PBT_APMSUSPEND 0x0004
#define PBT_APMRESUMECRITICAL 0x0006
#define PBT_APMRESUMESUSPEND 0x0007
#define PBT_APMBATTERYLOW 0x0009
#define PBT_APMPOWERSTATUSCHANGE 0x000A
#define PBT_APMOEMEVENT 0x000B
#define PBT_APMRESUMEAUTOMATIC 0x0012
#define PBT_POWERSETTINGCHANGE 0x8013

// lParam of PBT_POWERSETTINGCHANGE; valid only while the message is handled.
typedef struct {
  GUID PowerSetting;
  DWORD DataLength;
  UCHAR Data[1];
} POWERBROADCAST_SETTING, *PPOWERBROADCAST_SETTING;

// The data of GUID_ACDC_POWER_SOURCE: one DWORD.
typedef enum _SYSTEM_POWER_CONDITION { PoAc, PoDc, PoHot, PoConditionMaximum } SYSTEM_POWER_CONDITION;

#define DEVICE_NOTIFY_WINDOW_HANDLE 0x00000000
#define DEVICE_NOTIFY_SERVICE_HANDLE 0x00000001

typedef HANDLE HPOWERNOTIFY;
typedef HPOWERNOTIFY* PHPOWERNOTIFY;

extern "C" {

// {5D3E9A59-E9D5-4B00-A6BD-FF34FF516548}
extern const GUID GUID_ACDC_POWER_SOURCE;
// The system's own power schemes (winnt.h): Power saver {A1841308-3541-4FAB-BC81-F71556F20B4A},
// High performance {8C5E7FDA-E8BF-4A96-9A85-A6E23A8C635C}, Balanced {381B4222-F694-41F0-9685-FF5BB260DF2E}.
extern const GUID GUID_MAX_POWER_SAVINGS;
extern const GUID GUID_MIN_POWER_SAVINGS;
extern const GUID GUID_TYPICAL_POWER_SAVINGS;

// Registers a window for a power setting (only GUID_ACDC_POWER_SOURCE, and only
// windows, here). When the simulated power source changes, every registered
// window is sent (SendMessage, from a thread of the power area) WM_POWERBROADCAST
// with PBT_APMPOWERSTATUSCHANGE, then, for a registration of
// GUID_ACDC_POWER_SOURCE and a known line status, PBT_POWERSETTINGCHANGE with
// PoAc or PoDc. Only changes are reported. NULL with ERROR_INVALID_PARAMETER (no
// window, another setting, other flags) or ERROR_NOT_READY (the power source
// cannot be watched: its provider is not running).
HPOWERNOTIFY WINAPI RegisterPowerSettingNotification(HANDLE hRecipient, LPCGUID PowerSettingGuid, DWORD Flags);
// FALSE with ERROR_INVALID_HANDLE for a handle not (or no longer) registered.
BOOL WINAPI UnregisterPowerSettingNotification(HPOWERNOTIFY Handle);

}  // extern "C"
