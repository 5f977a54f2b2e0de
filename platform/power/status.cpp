// GetSystemPowerStatus from the simulated notebook's root\Sim:Sim_PowerStatus.
#include "platform/base/error.h"
#include "platform/power/power.h"
#include "platform/power/source.h"

namespace orv::win {

using namespace orv::wmi;

BOOL GetSystemPowerStatus(SYSTEM_POWER_STATUS* status) {
  if (!status) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *status = {AC_LINE_UNKNOWN, 255, 255, 0, 0xFFFFFFFF, 0xFFFFFFFF};
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
  status->BatteryFlag = ac == AC_LINE_ONLINE ? 8 : 0;  // charging while on AC
  return TRUE;
}

}  // namespace orv::win
