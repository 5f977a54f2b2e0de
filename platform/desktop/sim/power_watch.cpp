// One subscription to the notebook's system-state events for the process; its
// sink darkens or lights the screen and tells the process's windows. The
// broadcast is posted: a window whose thread does not answer (the desktop's own
// windows among them) must not stop the sink, and no answer is looked at.
#include "platform/desktop/sim/power_watch.h"

#include <windows.h>
#include <wbemidl.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/unique_com.h"
#include "platform/wmi/sim/com_object.h"
#include "platform/wmi/sim/local_wmi.h"

namespace orv::desktop {
namespace {

std::atomic<bool> g_dark{false};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

void Broadcast(WPARAM event) {
  for (HWND hwnd : TopLevelWindows())
    if (IsWindow(hwnd)) PostMessageA(hwnd, WM_POWERBROADCAST, event, 0);
}

class SystemStateSink : public orv::com::ComObject<IWbemObjectSink, IID_IWbemObjectSink> {
 public:
  HRESULT STDMETHODCALLTYPE Indicate(LONG count, IWbemClassObject** objects) override {
    for (LONG i = 0; i < count; ++i) {
      orv::unique_variant v;
      if (FAILED(objects[i]->Get(OLESTR("SystemState"), 0, v.put(), nullptr, nullptr)) ||
          FAILED(VariantChangeType(v.get(), v.get(), 0, VT_I4)))
        continue;
      const bool running = v->lVal == 0;
      if (running == !g_dark.load()) continue;  // no change
      g_dark = !running;
      Broadcast(running ? PBT_APMRESUMEAUTOMATIC : PBT_APMSUSPEND);
    }
    return WBEM_S_NO_ERROR;
  }
  HRESULT STDMETHODCALLTYPE SetStatus(LONG, HRESULT, BSTR, IWbemClassObject*) override { return WBEM_S_NO_ERROR; }
};

}  // namespace

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool ScreenDark() { return g_dark.load(); }

void StartPowerWatch() {
  static std::once_flag once;
  // On a thread of its own: taking the desktop never waits for the notebook.
  std::call_once(once, [] {
    std::thread([] {
      wmi::ComScope com;
      orv::com_ptr<IWbemServices> services;
      if (FAILED(wmi::ConnectNamespace(OLESTR("root\\Sim"), &services))) return;
      auto sink = orv::com_ptr<SystemStateSink>::attach(new SystemStateSink);
      orv::unique_bstr wql = orv::make_bstr(OLESTR("WQL"));
      orv::unique_bstr query = orv::make_bstr(OLESTR("Select * from Sim_SystemPowerEvent"));
      if (FAILED(services->ExecNotificationQueryAsync(wql.get(), query.get(), 0, nullptr, sink.get()))) return;
      // A notebook that sleeps already shows a dark screen from the start.
      orv::com_ptr<IWbemClassObject> status;
      orv::unique_bstr path = orv::make_bstr(OLESTR("Sim_PowerStatus.Name=\"Power\""));
      orv::unique_variant v;
      if (SUCCEEDED(services->GetObject(path.get(), 0, nullptr, status.put(), nullptr)) &&
          SUCCEEDED(status->Get(OLESTR("SystemState"), 0, v.put(), nullptr, nullptr)) &&
          SUCCEEDED(VariantChangeType(v.get(), v.get(), 0, VT_I4)) && v->lVal != 0)
        g_dark = true;
    }).detach();
  });
}

}  // namespace orv::desktop
