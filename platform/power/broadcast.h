// Power broadcasts with their Win32 numbers: WM_POWERBROADCAST events and the
// power-setting notification of the AC/DC power source.
#pragma once
#include <windows.h>

namespace orv::win {

constexpr WPARAM PBT_APMSUSPEND = 0x0004;
constexpr WPARAM PBT_APMPOWERSTATUSCHANGE = 0x000A;
constexpr WPARAM PBT_APMRESUMEAUTOMATIC = 0x0012;
constexpr WPARAM PBT_POWERSETTINGCHANGE = 0x8013;

using ::GUID;

// {5D3E9A59-E9D5-4B00-A6BD-FF34FF516548}; its data is one DWORD of SYSTEM_POWER_CONDITION.
constexpr GUID GUID_ACDC_POWER_SOURCE = {0x5D3E9A59, 0xE9D5, 0x4B00, {0xA6, 0xBD, 0xFF, 0x34, 0xFF, 0x51, 0x65, 0x48}};
constexpr DWORD PoAc = 0;
constexpr DWORD PoDc = 1;
constexpr DWORD PoHot = 2;

// lParam of PBT_POWERSETTINGCHANGE; valid only while the message is handled.
struct POWERBROADCAST_SETTING {
  GUID PowerSetting;
  DWORD DataLength;
  BYTE Data[1];
};

using HPOWERNOTIFY = void*;
constexpr DWORD DEVICE_NOTIFY_WINDOW_HANDLE = 0x0;
constexpr DWORD DEVICE_NOTIFY_SERVICE_HANDLE = 0x1;

// Registers a window for a power setting. When the simulated power source
// changes, every registered window is sent (SendMessage, from a thread of the
// WMI layer) WM_POWERBROADCAST with PBT_APMPOWERSTATUSCHANGE, then, for a
// registration of GUID_ACDC_POWER_SOURCE and a known line status,
// PBT_POWERSETTINGCHANGE with the new PoAc / PoDc. Only changes are reported.
// NULL with ERROR_INVALID_PARAMETER (no window, unknown setting, other flags) or
// ERROR_NOT_READY (the power source cannot be watched: the provider is not running).
HPOWERNOTIFY RegisterPowerSettingNotification(HANDLE recipient, const GUID* setting, DWORD flags);
// FALSE with ERROR_INVALID_HANDLE for a handle not (or no longer) registered.
BOOL UnregisterPowerSettingNotification(HPOWERNOTIFY handle);

}  // namespace orv::win
