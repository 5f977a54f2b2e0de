// Binding the power-scheme calls, each missing one to a stand-in that fails.
#include "tray/dialogs/PowerSchemeCalls.h"

namespace {

DWORD WINAPI NoEnumerate(HKEY, const GUID*, const GUID*, POWER_DATA_ACCESSOR, ULONG, UCHAR*, DWORD*) {
  return ERROR_PROC_NOT_FOUND;
}
DWORD WINAPI NoGetActiveScheme(HKEY, GUID**) { return ERROR_PROC_NOT_FOUND; }
DWORD WINAPI NoSetActiveScheme(HKEY, const GUID*) { return ERROR_PROC_NOT_FOUND; }
DWORD WINAPI NoImportPowerScheme(HKEY, LPCWSTR, GUID**) { return ERROR_PROC_NOT_FOUND; }
DWORD WINAPI NoDeleteScheme(HKEY, const GUID*) { return ERROR_PROC_NOT_FOUND; }

template <class Call>
Call Bind(HMODULE library, const char* name, Call missing) {
  FARPROC found = library ? GetProcAddress(library, name) : nullptr;
  return found ? reinterpret_cast<Call>(reinterpret_cast<void*>(found)) : missing;
}

PowerSchemeCalls BindAll() {
  // Kept loaded for the process's life, as the calls may come at any time.
  HMODULE library = LoadLibraryA("powrprof.dll");
  return {Bind(library, "PowerEnumerate", &NoEnumerate), Bind(library, "PowerGetActiveScheme", &NoGetActiveScheme),
          Bind(library, "PowerSetActiveScheme", &NoSetActiveScheme),
          Bind(library, "PowerImportPowerScheme", &NoImportPowerScheme),
          Bind(library, "PowerDeleteScheme", &NoDeleteScheme)};
}

}  // namespace

const PowerSchemeCalls& PowerSchemes() {
  static const PowerSchemeCalls calls = BindAll();
  return calls;
}
