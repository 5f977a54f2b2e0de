// Reading, setting and following the panel brightness through WMI, on the UI
// thread; each keeps the thread's COM initialisations balanced.
#include "tray/firmware/Brightness.h"

#include <objbase.h>
#include <wbemidl.h>

#include <cstdio>
#include <cstdlib>

#include "library/OrvWmiAcpi.h"
#include "platform/base/unique_com.h"
#include "tray/core/CalvexDlg.h"
#include "tray/firmware/BrightnessEventSink.h"

namespace {

// Leaves the apartment at the end of a scope only if the scope's request entered it.
class ComEntry {
 public:
  explicit ComEntry(HRESULT hr) : m_hr(hr) {}
  ~ComEntry() {
    if (SUCCEEDED(m_hr)) CoUninitialize();
  }
  ComEntry(const ComEntry&) = delete;
  ComEntry& operator=(const ComEntry&) = delete;
  HRESULT Result() const { return m_hr; }

 private:
  HRESULT m_hr;
};

// A BSTR-holding variant of the text.
void SetText(orv::unique_variant& v, const OLECHAR* text) {
  v.put()->vt = VT_BSTR;
  v->bstrVal = SysAllocString(text);
}

// Sets one monitor: the method's arguments on a fresh instance of its definition,
// then the call on the monitor's own path. False at the first step that fails.
bool SetOneMonitor(IWbemServices* services, IWbemClassObject* monitor, BSTR className, BSTR methodName,
                   BSTR timeoutName, BSTR levelName, int percent) {
  orv::com_ptr<IWbemClassObject> cls, definition, in;
  if (services->GetObject(className, 0, nullptr, cls.put(), nullptr) != WBEM_S_NO_ERROR) return false;
  if (cls->GetMethod(methodName, 0, definition.put(), nullptr) != WBEM_S_NO_ERROR) return false;
  if (definition->SpawnInstance(0, in.put()) != WBEM_S_NO_ERROR) return false;
  orv::unique_variant timeout, level, path;
  SetText(timeout, OLESTR("0"));
  if (in->Put(timeoutName, 0, timeout.get(), CIM_UINT32) != WBEM_S_NO_ERROR) return false;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", percent);
  OLECHAR wide[16] = {};
  for (int i = 0; digits[i]; ++i) wide[i] = static_cast<OLECHAR>(digits[i]);
  SetText(level, wide);
  if (in->Put(levelName, 0, level.get(), CIM_UINT8) != WBEM_S_NO_ERROR) return false;
  if (monitor->Get(OLESTR("__PATH"), 0, path.put(), nullptr, nullptr) != WBEM_S_NO_ERROR || path->vt != VT_BSTR)
    return false;
  return services->ExecMethod(path->bstrVal, methodName, 0, nullptr, in.get(), nullptr, nullptr) == WBEM_S_NO_ERROR;
}

}  // namespace

int GetBrightness() {
  // The library's object enters the thread's apartment and leaves it again.
  COrvWmiAcpi wmi;
  char slot[ORV_VALUE_SLOT] = {};
  CPtrArray values{slot};
  char error[ORV_ERROR_BUFFER] = {};
  const WCHAR* property[] = {OLESTR("CurrentBrightness")};
  if (wmi.QueryWMIProperty(OLESTR("Select * from WmiMonitorBrightness"), property, values, error, OLESTR("root\\wmi"),
                           OLESTR("WQL")) &&
      slot[0] != '\0')
    return std::atoi(slot);
  return g_pMainDlg ? g_pMainDlg->m_nBrightness : 0;
}

void SetBrightness(int percent) {
  orv::unique_bstr ns = orv::make_bstr(OLESTR("root\\wmi"));
  orv::unique_bstr className = orv::make_bstr(OLESTR("WmiMonitorBrightnessMethods"));
  orv::unique_bstr methodName = orv::make_bstr(OLESTR("WmiSetBrightness"));
  orv::unique_bstr timeoutName = orv::make_bstr(OLESTR("Timeout"));
  orv::unique_bstr levelName = orv::make_bstr(OLESTR("Brightness"));
  orv::unique_bstr query = orv::make_bstr(OLESTR("Select * from WmiMonitorBrightnessMethods"));
  if (!ns || !className || !methodName || !timeoutName) {
    std::printf("SysAllocString failed. Out of memory.\n");
    return;
  }
  ComEntry com(CoInitialize(nullptr));
  if (FAILED(com.Result())) return;
  orv::com_ptr<IWbemLocator> locator;
  orv::com_ptr<IWbemServices> services;
  orv::com_ptr<IEnumWbemClassObject> monitors;
  if (CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put_void()) != S_OK ||
      locator->ConnectServer(ns.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.put()) != S_OK ||
      CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE) != S_OK ||
      services->ExecQuery(orv::make_bstr(OLESTR("WQL")).get(), query.get(), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                          monitors.put()) != S_OK)
    return;
  for (;;) {
    orv::com_ptr<IWbemClassObject> monitor;
    ULONG returned = 0;
    if (monitors->Next(WBEM_INFINITE, 1, monitor.put(), &returned) != WBEM_S_NO_ERROR || returned != 1) break;
    if (!SetOneMonitor(services.get(), monitor.get(), className.get(), methodName.get(), timeoutName.get(),
                       levelName.get(), percent))
      break;
  }
}

int RegisterBrightnessEvents() {
  orv::unique_bstr ns = orv::make_bstr(OLESTR("ROOT\\WMI"));
  // On the UI thread (a single-threaded apartment already) this is refused and
  // changes nothing; a thread it does enter leaves it again on every path.
  ComEntry com(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                       EOAC_NONE, nullptr);
  orv::com_ptr<IWbemLocator> locator;
  orv::com_ptr<IWbemServices> services;
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put_void())))
    return 3;
  if (FAILED(locator->ConnectServer(ns.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.put())))
    return 4;
  if (FAILED(CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                               RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE)))
    return 5;
  orv::com_ptr<IUnsecuredApartment> apartment;
  auto* created = new EventSink();
  created->AddRef();
  auto sink = orv::com_ptr<EventSink>::attach(created);
  orv::com_ptr<IUnknown> stub;
  orv::com_ptr<IWbemObjectSink> stubSink;
  if (FAILED(CoCreateInstance(CLSID_UnsecuredApartment, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnsecuredApartment,
                              apartment.put_void())) ||
      FAILED(apartment->CreateObjectStub(sink.get(), stub.put())) ||
      FAILED(stub->QueryInterface(IID_IWbemObjectSink, stubSink.put_void())))
    return 1;
  const HRESULT hr =
      services->ExecNotificationQueryAsync(orv::make_bstr(OLESTR("WQL")).get(),
                                           orv::make_bstr(OLESTR("SELECT * FROM WmiMonitorBrightnessEvent")).get(),
                                           WBEM_FLAG_SEND_STATUS, nullptr, stubSink.get());
  if (FAILED(hr)) {
    std::printf("ExecNotificationQueryAsync failed with = 0x%X\n", static_cast<unsigned>(hr));
    return 1;
  }
  // WMI keeps the stub, and through it the sink, for the life of the process.
  return 0;
}
