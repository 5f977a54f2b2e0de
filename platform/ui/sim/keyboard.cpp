// The notebook's keyboard: its volume and brightness keys reach the operating
// system as key presses, and the simulated notebook reports every such press as
// a firmware event. While a low-level hook is installed, a thread of its own
// subscribes to those events and turns each into a key-down and a key-up. The
// hook works from the moment it is installed: installing waits for the thread
// to have subscribed (or failed to).
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/ui/sim/input.h"
#include "platform/ui/sim/internal.h"
#include "platform/wmi/wbem.h"

namespace orv::ui::detail {
namespace {

namespace wmi = orv::wmi;

struct Key {
  unsigned eventCode;
  DWORD vk;
  DWORD scan;
};

// The keys' virtual keys and scan codes (extended keys); the brightness keys have
// no virtual key of their own.
constexpr Key kKeys[] = {
    {0x21, VK_VOLUME_MUTE, 0x20}, {0x23, VK_VOLUME_DOWN, 0x2E}, {0x32, VK_VOLUME_UP, 0x30},
    {0x62, 0xFF, 0x77},           {0x63, 0xFF, 0x78},
};

void Press(const Key& k) {
  KBDLLHOOKSTRUCT key{k.vk, k.scan, LLKHF_EXTENDED, GetTickCount(), 0};
  QueueKeyEvent(WM_KEYDOWN, key);
  key.flags |= LLKHF_UP;
  key.time = GetTickCount();
  QueueKeyEvent(WM_KEYUP, key);
}

class KeySink : public wmi::IWbemObjectSink {
 public:
  wmi::HRESULT QueryInterface(wmi::Iid iid, void** out) override {
    if (!out) return wmi::E_POINTER;
    if (iid != wmi::Iid::Unknown && iid != wmi::Iid::WbemObjectSink) {
      *out = nullptr;
      return wmi::E_NOINTERFACE;
    }
    *out = static_cast<IWbemObjectSink*>(this);
    AddRef();
    return wmi::WBEM_S_NO_ERROR;
  }
  wmi::ULONG AddRef() override { return static_cast<wmi::ULONG>(++refs_); }
  wmi::ULONG Release() override {
    long n = --refs_;
    if (n == 0) delete this;
    return static_cast<wmi::ULONG>(n);
  }
  wmi::HRESULT Indicate(long count, wmi::IWbemClassObject** objects) override {
    for (long i = 0; i < count && objects; ++i) {
      wmi::Variant value;
      if (!objects[i] || wmi::Failed(objects[i]->Get(u"OrvEvt", 0, &value, nullptr, nullptr))) continue;
      for (const Key& k : kKeys)
        if ((static_cast<unsigned>(value.num) & 0xFFu) == k.eventCode) Press(k);
      wmi::VariantClear(&value);
    }
    return wmi::WBEM_S_NO_ERROR;
  }
  wmi::HRESULT SetStatus(long, wmi::HRESULT, const char16_t*, wmi::IWbemClassObject*) override {
    return wmi::WBEM_S_NO_ERROR;
  }

 private:
  ~KeySink() override = default;
  std::atomic<long> refs_{1};
};

struct Keyboard {
  std::mutex mutex;
  std::condition_variable changed;
  std::thread thread;
  bool subscribed = false;  // the thread has tried to subscribe
  bool stop = false;
};

Keyboard& TheKeyboard() {
  static Keyboard* keyboard = new Keyboard;  // its thread may outlive static destruction order
  return *keyboard;
}

// Subscribes, waits to be stopped, cancels. Without the notebook's provider
// there are no keys to report, and the hooks see only SendInput's.
void Run(Keyboard* k) {
  wmi::CoInitializeEx(true);
  {
    wmi::ComPtr<wmi::IWbemLocator> locator;
    wmi::ComPtr<wmi::IWbemServices> services;
    KeySink* sink = new KeySink;
    wmi::HRESULT hr = wmi::CoCreateInstance(wmi::Clsid::WbemLocator, wmi::CLSCTX_INPROC_SERVER, wmi::Iid::WbemLocator,
                                            locator.PutVoid());
    if (wmi::Succeeded(hr))
      hr = locator->ConnectServer(u"root\\WMI", nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Put());
    if (wmi::Succeeded(hr))
      hr = services->ExecNotificationQueryAsync(u"WQL", u"SELECT * FROM Orv_Event", 0, nullptr, sink);
    if (wmi::Failed(hr))
      std::fprintf(stderr, "keyboard: the notebook's keys cannot be watched (0x%08x)\n", static_cast<unsigned>(hr));
    {
      std::unique_lock<std::mutex> lock(k->mutex);
      k->subscribed = true;
      k->changed.notify_all();
      k->changed.wait(lock, [&] { return k->stop; });
    }
    if (wmi::Succeeded(hr)) services->CancelAsyncCall(sink);
    sink->Release();
  }
  wmi::CoUninitialize();
}

}  // namespace

void StartNotebookKeyboard() {
  Keyboard& k = TheKeyboard();
  std::unique_lock<std::mutex> lock(k.mutex);
  if (k.thread.joinable()) return;
  k.stop = false;
  k.subscribed = false;
  k.thread = std::thread(Run, &k);
  k.changed.wait(lock, [&] { return k.subscribed; });
}

void StopNotebookKeyboard() {
  Keyboard& k = TheKeyboard();
  std::thread thread;
  {
    std::lock_guard<std::mutex> lock(k.mutex);
    k.stop = true;
    thread = std::move(k.thread);
  }
  k.changed.notify_all();
  if (thread.joinable()) thread.join();
}

}  // namespace orv::ui::detail
