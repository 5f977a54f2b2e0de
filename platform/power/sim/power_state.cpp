// The power-state requests, which the shutdown privilege guards: the simulated
// notebook is told to sleep or hibernate (root\Sim:Sim_PowerStatus.SystemState),
// and each request it took is recorded as a line of "power.log" in the state folder.
#include <windows.h>
#include <powrprof.h>

#include <cstdio>
#include <ctime>

#include "platform/home/sim/home.h"
#include "platform/power/sim/source.h"
#include "platform/security/sim/privileges.h"

namespace {

// Asks the notebook to enter the state (1 asleep, 2 hibernated).
bool RequestSystemState(BYTE state) {
  orv::power::ComScope com;
  orv::com_ptr<IWbemServices> services;
  orv::com_ptr<IWbemClassObject> status;
  orv::unique_bstr path = orv::make_bstr(OLESTR("Sim_PowerStatus.Name=\"Power\""));
  if (FAILED(orv::power::Connect(&services)) ||
      FAILED(services->GetObject(path.get(), 0, nullptr, status.put(), nullptr)))
    return false;
  orv::unique_variant value;
  value->vt = VT_UI1;
  value->bVal = state;
  return SUCCEEDED(status->Put(OLESTR("SystemState"), 0, value.get(), 0)) &&
         SUCCEEDED(services->PutInstance(status.get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr));
}

BOOL EnterPowerState(bool suspend, bool force) {
  if (!orv::security::ShutdownPrivilegeEnabled()) {
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
  }
  if (!RequestSystemState(suspend ? 1 : 2)) {
    SetLastError(ERROR_NOT_READY);
    return FALSE;
  }
  std::FILE* log = std::fopen(orv::home::Path("power.log").c_str(), "a");
  if (!log) return TRUE;  // the notebook went; only the record is missing
  std::fprintf(log, "%lld %s%s\n", static_cast<long long>(std::time(nullptr)), suspend ? "suspend" : "hibernate",
               force ? " forced" : "");
  std::fclose(log);
  return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI SetSystemPowerState(BOOL fSuspend, BOOL fForce) { return EnterPowerState(fSuspend, fForce); }

extern "C" BOOLEAN WINAPI SetSuspendState(BOOLEAN Hibernate, BOOLEAN ForceCritical, BOOLEAN) {
  return EnterPowerState(!Hibernate, ForceCritical) ? TRUE : FALSE;
}
