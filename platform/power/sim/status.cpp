// GetSystemPowerStatus from the simulated notebook's root\Sim:Sim_PowerStatus.
#include <windows.h>

#include "platform/power/sim/source.h"

extern "C" BOOL WINAPI GetSystemPowerStatus(LPSYSTEM_POWER_STATUS status) {
  if (!status) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *status = {AC_LINE_UNKNOWN, BATTERY_FLAG_UNKNOWN, BATTERY_PERCENTAGE_UNKNOWN, 0, BATTERY_LIFE_UNKNOWN,
             BATTERY_LIFE_UNKNOWN};
  orv::power::ComScope com;
  orv::com_ptr<IWbemServices> services;
  orv::com_ptr<IEnumWbemClassObject> results;
  orv::com_ptr<IWbemClassObject> object;
  orv::unique_bstr wql = orv::make_bstr(OLESTR("WQL"));
  orv::unique_bstr query = orv::make_bstr(OLESTR("Select * from Sim_PowerStatus"));
  ULONG got = 0;
  BYTE ac = 0, battery = 0;
  const bool ok = SUCCEEDED(orv::power::Connect(&services)) &&
                  SUCCEEDED(services->ExecQuery(wql.get(), query.get(), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                                results.put())) &&
                  results->Next(WBEM_INFINITE, 1, object.put(), &got) == S_OK && got == 1 &&
                  orv::power::ReadByte(object.get(), OLESTR("ACLineStatus"), &ac) &&
                  orv::power::ReadByte(object.get(), OLESTR("BatteryLifePercent"), &battery);
  if (!ok) {
    SetLastError(ERROR_NOT_READY);
    return FALSE;
  }
  status->ACLineStatus = ac;
  status->BatteryLifePercent = battery;
  status->BatteryFlag = ac == AC_LINE_ONLINE ? BATTERY_FLAG_CHARGING : 0;
  return TRUE;
}
