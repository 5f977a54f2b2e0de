// The power-scheme calls of the SDK's powrprof.h, as the simulated system keeps
// its schemes: Balanced, High performance and Power saver under their own GUIDs,
// and those imported since, in one store of the state folder that every program
// shares and a restart keeps (platform/power/sim/scheme_store.h). A scheme file
// is our own text format (docs/power-scheme-file.md). Only whole schemes are
// handled: the enumeration of subgroups and settings is not there. Every call
// answers a Win32 error code, ERROR_SUCCESS (0) on success.
#pragma once
#include <windows.h>

typedef enum _POWER_DATA_ACCESSOR {
  ACCESS_AC_POWER_SETTING_INDEX = 0,
  ACCESS_DC_POWER_SETTING_INDEX = 1,
  ACCESS_SCHEME = 16,
  ACCESS_SUBGROUP = 17,
  ACCESS_INDIVIDUAL_SETTING = 18,
  ACCESS_ACTIVE_SCHEME = 19,
  ACCESS_CREATE_SCHEME = 20
} POWER_DATA_ACCESSOR, *PPOWER_DATA_ACCESSOR;

extern "C" {

// The Index-th installed scheme's GUID (AccessFlags ACCESS_SCHEME; SchemeGuid and
// SubGroupOfPowerSettingsGuid are then ignored), in the order of their GUIDs'
// text. ERROR_NO_MORE_ITEMS past the last one; ERROR_MORE_DATA with *BufferSize
// set to 16 when Buffer is NULL or smaller than a GUID; ERROR_INVALID_PARAMETER
// for a RootPowerKey, another accessor or no BufferSize.
DWORD WINAPI PowerEnumerate(HKEY RootPowerKey, const GUID* SchemeGuid, const GUID* SubGroupOfPowerSettingsGuid,
                            POWER_DATA_ACCESSOR AccessFlags, ULONG Index, UCHAR* Buffer, DWORD* BufferSize);
// The active scheme in a GUID allocated with LocalAlloc (the caller frees it
// with LocalFree).
DWORD WINAPI PowerGetActiveScheme(HKEY UserRootPowerKey, GUID** ActivePolicyGuid);
// ERROR_FILE_NOT_FOUND for a scheme that is not installed.
DWORD WINAPI PowerSetActiveScheme(HKEY UserRootPowerKey, const GUID* SchemeGuid);
// Installs the scheme of a file, under **DestinationSchemeGuid when that pointer
// is set (replacing a scheme of that GUID), else under a new GUID that the call
// allocates with LocalAlloc. ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND for a
// missing file, ERROR_INVALID_DATA for one that is not a whole scheme file.
DWORD WINAPI PowerImportPowerScheme(HKEY RootPowerKey, LPCWSTR ImportFileNamePath, GUID** DestinationSchemeGuid);
// ERROR_FILE_NOT_FOUND for a scheme that is not installed, ERROR_ACCESS_DENIED
// for the active one (activate another first).
DWORD WINAPI PowerDeleteScheme(HKEY RootPowerKey, const GUID* SchemeGuid);

// Sleep (Hibernate FALSE) or hibernation, as SetSystemPowerState; needs the
// shutdown privilege. FALSE with the last error on failure.
BOOLEAN WINAPI SetSuspendState(BOOLEAN Hibernate, BOOLEAN ForceCritical, BOOLEAN DisableWakeEvent);

}  // extern "C"
