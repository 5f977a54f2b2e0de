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

#include <wbemidl.h>

#include "platform/base/unique_com.h"
#include "platform/ui/sim/input.h"
#include "platform/ui/sim/internal.h"
#include "platform/wmi/sim/com_object.h"

namespace orv::ui::detail {
namespace {

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

class KeySink : public orv::com::ComObject<IWbemObjectSink, IID_IWbemObjectSink> {
 public:
  HRESULT STDMETHODCALLTYPE Indicate(LONG count, IWbemClassObject** objects) override {
    for (LONG i = 0; i < count && objects; ++i) {
      orv::unique_variant value;
      if (!objects[i] || FAILED(objects[i]->Get(OLESTR("OrvEvt"), 0, value.put(), nullptr, nullptr)) ||
          FAILED(VariantChangeType(value.get(), value.get(), 0, VT_I8)))
        continue;
      for (const Key& k : kKeys)
        if ((static_cast<unsigned>(value->llVal) & 0xFFu) == k.eventCode) Press(k);
    }
    return WBEM_S_NO_ERROR;
  }
  HRESULT STDMETHODCALLTYPE SetStatus(LONG, HRESULT, BSTR, IWbemClassObject*) override { return WBEM_S_NO_ERROR; }
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
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    orv::com_ptr<IWbemLocator> locator;
    orv::com_ptr<IWbemServices> services;
    auto sink = orv::com_ptr<KeySink>::attach(new KeySink);
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  locator.put_void());
    if (SUCCEEDED(hr))
      hr = locator->ConnectServer(orv::make_bstr(OLESTR("root\\WMI")).get(), nullptr, nullptr, nullptr, 0, nullptr,
                                  nullptr, services.put());
    if (SUCCEEDED(hr))
      hr = services->ExecNotificationQueryAsync(orv::make_bstr(OLESTR("WQL")).get(),
                                                orv::make_bstr(OLESTR("SELECT * FROM Orv_Event")).get(), 0, nullptr,
                                                sink.get());
    if (FAILED(hr))
      std::fprintf(stderr, "keyboard: the notebook's keys cannot be watched (0x%08x)\n", static_cast<unsigned>(hr));
    {
      std::unique_lock<std::mutex> lock(k->mutex);
      k->subscribed = true;
      k->changed.notify_all();
      k->changed.wait(lock, [&] { return k->stop; });
    }
    if (SUCCEEDED(hr)) services->CancelAsyncCall(sink.get());
  }
  CoUninitialize();
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
