// Power-setting notifications: one subscription to the power source's events
// (root\Sim:Sim_PowerEvent) for the process, whose sink sends WM_POWERBROADCAST
// to every registered window. The subscription is made by the first registration
// and kept, also while the provider is away; a later registration makes a new
// one only when it ended.
// It is never cancelled from a registering thread: a cancel waits for the sink,
// which may be sending to that very thread.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/power/sim/dword_setting.h"
#include "platform/power/sim/source.h"
#include "platform/wmi/sim/com_object.h"

namespace orv::win {
namespace {

struct Registration {
  std::uintptr_t id;
  HWND window;
  GUID setting;
};

// Shared by the registering threads and the sink (which may outlive a test's
// use of the registrations, so it holds the state by reference count).
struct State {
  std::mutex lock;
  std::vector<Registration> registrations;
  std::uintptr_t nextId = 1;
  bool watching = false;  // a subscription is delivering
};

std::shared_ptr<State> Shared() {
  static const auto state = std::make_shared<State>();
  return state;
}

class PowerSink : public orv::com::ComObject<IWbemObjectSink, IID_IWbemObjectSink> {
 public:
  explicit PowerSink(std::shared_ptr<State> state) : state_(std::move(state)) {}

  HRESULT STDMETHODCALLTYPE Indicate(LONG count, IWbemClassObject** objects) override {
    for (LONG i = 0; i < count; ++i) Broadcast(objects[i]);
    return WBEM_S_NO_ERROR;
  }
  HRESULT STDMETHODCALLTYPE SetStatus(LONG flags, HRESULT, BSTR, IWbemClassObject*) override {
    if (flags == WBEM_STATUS_COMPLETE) {
      std::lock_guard<std::mutex> hold(state_->lock);
      state_->watching = false;
    }
    return WBEM_S_NO_ERROR;
  }

 private:
  void Broadcast(IWbemClassObject* event) {
    BYTE line = AC_LINE_UNKNOWN;
    orv::power::ReadByte(event, OLESTR("ACLineStatus"), &line);
    std::vector<Registration> targets;
    {
      std::lock_guard<std::mutex> hold(state_->lock);
      targets = state_->registrations;
    }
    // Every window hears of the status change once, however many settings it registered.
    std::vector<HWND> told;
    for (const Registration& r : targets) {
      if (std::find(told.begin(), told.end(), r.window) != told.end()) continue;
      told.push_back(r.window);
      SendMessageA(r.window, WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);
    }
    if (line != AC_LINE_ONLINE && line != AC_LINE_OFFLINE) return;
    orv::power::DwordSetting record{GUID_ACDC_POWER_SOURCE, sizeof(DWORD), line == AC_LINE_ONLINE ? PoAc : PoDc};
    for (const Registration& r : targets) {
      if (r.setting != GUID_ACDC_POWER_SOURCE || !StillRegistered(r.id)) continue;
      SendMessageA(r.window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&record));
    }
  }
  bool StillRegistered(std::uintptr_t id) {
    std::lock_guard<std::mutex> hold(state_->lock);
    return std::any_of(state_->registrations.begin(), state_->registrations.end(),
                       [id](const Registration& r) { return r.id == id; });
  }

  std::shared_ptr<State> state_;
};

// Starts the subscription unless one delivers already.
bool Watch(const std::shared_ptr<State>& state) {
  // Registrations are made one at a time, so two threads never subscribe twice.
  static std::mutex subscribing;
  std::lock_guard<std::mutex> once(subscribing);
  {
    std::lock_guard<std::mutex> hold(state->lock);
    if (state->watching) return true;
  }
  orv::power::ComScope com;
  orv::com_ptr<IWbemServices> services;
  if (FAILED(orv::power::Connect(&services))) return false;
  auto sink = orv::com_ptr<PowerSink>::attach(new PowerSink(state));
  orv::unique_bstr wql = orv::make_bstr(OLESTR("WQL"));
  orv::unique_bstr query = orv::make_bstr(OLESTR("Select * from Sim_PowerEvent"));
  {
    // Set before the first delivery can end it again.
    std::lock_guard<std::mutex> hold(state->lock);
    state->watching = true;
  }
  if (FAILED(services->ExecNotificationQueryAsync(wql.get(), query.get(), 0, nullptr, sink.get()))) {
    std::lock_guard<std::mutex> hold(state->lock);
    state->watching = false;
    return false;
  }
  return true;
}

}  // namespace
}  // namespace orv::win

extern "C" HPOWERNOTIFY WINAPI RegisterPowerSettingNotification(HANDLE recipient, LPCGUID setting, DWORD flags) {
  if (!recipient || !setting || flags != DEVICE_NOTIFY_WINDOW_HANDLE || !IsWindow(static_cast<HWND>(recipient)) ||
      *setting != GUID_ACDC_POWER_SOURCE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto state = orv::win::Shared();
  if (!orv::win::Watch(state)) {
    SetLastError(ERROR_NOT_READY);
    return nullptr;
  }
  std::lock_guard<std::mutex> hold(state->lock);
  const std::uintptr_t id = state->nextId++;
  state->registrations.push_back({id, static_cast<HWND>(recipient), *setting});
  return reinterpret_cast<HPOWERNOTIFY>(id);
}

extern "C" BOOL WINAPI UnregisterPowerSettingNotification(HPOWERNOTIFY handle) {
  const auto state = orv::win::Shared();
  std::lock_guard<std::mutex> hold(state->lock);
  auto& list = state->registrations;
  auto it = std::find_if(list.begin(), list.end(),
                         [handle](const orv::win::Registration& r) { return r.id == reinterpret_cast<std::uintptr_t>(handle); });
  if (!handle || it == list.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  list.erase(it);
  return TRUE;
}
