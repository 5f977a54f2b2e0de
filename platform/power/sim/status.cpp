// GetSystemPowerStatus from the simulated notebook's root\Sim:Sim_PowerStatus.
#include <windows.h>

#include "platform/power/sim/source.h"

extern "C" BOOL WINAPI GetSystemPowerStatus(LPSYSTEM_POWER_STATUS status) {
  using namespace orv::wmi;
  if (!status) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *status = {AC_LINE_UNKNOWN, BATTERY_FLAG_UNKNOWN, BATTERY_PERCENTAGE_UNKNOWN, 0, BATTERY_LIFE_UNKNOWN,
             BATTERY_LIFE_UNKNOWN};
  orv::power::ComScope com;
  ComPtr<IWbemServices> services;
  ComPtr<IEnumWbemClassObject> results;
  ComPtr<IWbemClassObject> object;
  ULONG got = 0;
  BYTE ac = 0, battery = 0;
  const bool ok = Succeeded(orv::power::Connect(&services)) &&
                  Succeeded(services->ExecQuery(u"WQL", u"Select * from Sim_PowerStatus",
                                                WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, results.Put())) &&
                  results->Next(WBEM_INFINITE, 1, object.Put(), &got) == S_OK && got == 1 &&
                  orv::power::ReadByte(object.Get(), u"ACLineStatus", &ac) &&
                  orv::power::ReadByte(object.Get(), u"BatteryLifePercent", &battery);
  if (!ok) {
    SetLastError(ERROR_NOT_READY);
    return FALSE;
  }
  status->ACLineStatus = ac;
  status->BatteryLifePercent = battery;
  status->BatteryFlag = ac == AC_LINE_ONLINE ? BATTERY_FLAG_CHARGING : 0;
  return TRUE;
}
