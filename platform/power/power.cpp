// Power status from the simulated notebook's power source (root\Sim:Sim_PowerStatus,
// read through the WMI layer) and hibernation requests recorded in its power log.
#include "platform/power/power.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "platform/base/error.h"
#include "platform/home/home.h"
#include "platform/wmi/wbem.h"

namespace orv::win {
namespace {

using namespace orv::wmi;

// Reads one integer property of the power source; false when it cannot.
bool ReadPowerSource(IWbemServices* services, const char16_t* name, long long* value) {
  ComPtr<IEnumWbemClassObject> results;
  if (Failed(services->ExecQuery(u"WQL", u"Select * from Sim_PowerStatus", WBEM_FLAG_RETURN_IMMEDIATELY,
                                 nullptr, results.Put())))
    return false;
  ComPtr<IWbemClassObject> object;
  ULONG got = 0;
  if (results->Next(WBEM_INFINITE, 1, object.Put(), &got) != S_OK || !object) return false;
  Variant v;
  if (Failed(object->Get(name, 0, &v, nullptr, nullptr)) || v.vt == VT_NULL || v.vt == VT_EMPTY) return false;
  *value = v.num;
  return true;
}

}  // namespace

BOOL GetSystemPowerStatus(SYSTEM_POWER_STATUS* status) {
  if (!status) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
  *status = {AC_LINE_UNKNOWN, 255, 255, 0, 0xFFFFFFFF, 0xFFFFFFFF};
  // A thread already in an apartment keeps it; otherwise this call enters one
  // and leaves it again, so the caller's COM state is as it was.
  const HRESULT init = CoInitializeEx(true);
  bool ok = false;
  {
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    long long ac = 0, battery = 0;
    if (Succeeded(CoCreateInstance(Clsid::WbemLocator, CLSCTX_INPROC_SERVER, Iid::WbemLocator, locator.PutVoid())) &&
        Succeeded(locator->ConnectServer(u"root\\Sim", nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                         services.Put())) &&
        ReadPowerSource(services.Get(), u"ACLineStatus", &ac) &&
        ReadPowerSource(services.Get(), u"BatteryLifePercent", &battery)) {
      status->ACLineStatus = static_cast<BYTE>(ac);
      status->BatteryLifePercent = static_cast<BYTE>(battery);
      status->BatteryFlag = ac == AC_LINE_ONLINE ? 8 : 0;  // charging while on AC
      ok = true;
    }
  }
  if (Succeeded(init)) CoUninitialize();
  if (!ok) SetLastError(ERROR_NOT_READY);
  return ok ? TRUE : FALSE;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)); }

BOOL OpenProcessToken(HANDLE, DWORD, HANDLE* token) {
  if (!token) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
  *token = GetCurrentProcess();
  return TRUE;
}

BOOL LookupPrivilegeValueA(const char*, const char* name, LUID* luid) {
  if (!name || !luid || std::string(name) != "SeShutdownPrivilege") {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *luid = {19, 0};  // the shutdown privilege's well-known value
  return TRUE;
}

BOOL AdjustTokenPrivilege(HANDLE token, const LUID&, DWORD) {
  if (!token) { SetLastError(ERROR_INVALID_HANDLE); return FALSE; }
  return TRUE;
}

BOOL SetSystemPowerState(BOOL suspend, BOOL force) {
  std::FILE* log = std::fopen(orv::home::Path("power.log").c_str(), "a");
  if (!log) { SetLastError(ERROR_ACCESS_DENIED); return FALSE; }
  std::fprintf(log, "%ld %s%s\n", static_cast<long>(std::time(nullptr)), suspend ? "suspend" : "hibernate",
               force ? " forced" : "");
  std::fclose(log);
  return TRUE;
}

}  // namespace orv::win
