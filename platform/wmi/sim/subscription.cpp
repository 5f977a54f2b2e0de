// Subscription threads and the registry that cancels what is left at process end.
#include "platform/wmi/sim/subscription.h"

#include <fcntl.h>
#include <objbase.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/sim/unique_fd.h"
#include "platform/wmi/sim/channel.h"
#include "platform/wmi/sim/object.h"
#include "platform/wmi/sim/services.h"

namespace orv::wmi::detail {
namespace {

// How often a subscription whose provider went away looks for it again.
constexpr int kResumeEveryMs = 100;

struct Subscription {
  std::uint64_t owner = 0;
  std::string ns, cls;
  const IWbemObjectSink* key = nullptr;  // the sink as the subscriber named it, for Cancel
  IWbemObjectSink* sink = nullptr;  // one reference, released by the thread at its end
  Channel channel;
  orv::sim::unique_fd wakeRead, wakeWrite;  // a byte ends the thread's wait
  std::atomic<bool> cancelled{false};
  std::atomic<bool> finished{false};
  std::thread thread;

  void Wake() {
    cancelled = true;
    char c = 1;
    if (write(wakeWrite.get(), &c, 1) < 0) { /* the thread is already gone */ }
  }
};

// Connects the channel to the provider and subscribes on it: the provider's answer.
HRESULT Open(Channel& channel, const std::string& ns, const std::string& cls) {
  if (!channel.Connect(ProviderSocketPath())) return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
  wire::Writer w;
  w.U8(static_cast<std::uint8_t>(wire::Op::Subscribe));
  w.Str(ns);
  w.Str(cls);
  std::string reply;
  if (!channel.Call(w.Body(), &reply, kCallTimeoutMs)) return WBEM_E_TRANSPORT_FAILURE;
  wire::Reader r(reply);
  auto status = static_cast<HRESULT>(r.U32());
  return r.ok() ? status : static_cast<HRESULT>(WBEM_E_TRANSPORT_FAILURE);
}

// WMI keeps a subscription while its provider is away (killed or stopped) and
// subscribes again once the provider serves: false when cancelled first.
bool Resume(Subscription* s) {
  s->channel.Close();
  for (;;) {
    pollfd wake{s->wakeRead.get(), POLLIN, 0};
    if (poll(&wake, 1, kResumeEveryMs) > 0 || s->cancelled) return false;
    if (SUCCEEDED(Open(s->channel, s->ns, s->cls))) return true;
    s->channel.Close();
  }
}

void Deliver(Subscription* s) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // the layer's own threads live in the multithreaded apartment
  HRESULT end = WBEM_E_CALL_CANCELLED;
  while (!s->cancelled) {
    int r = s->channel.WaitReadable(s->wakeRead.get());
    if (r == 0) break;
    std::string body;
    if (r < 0 || !s->channel.Receive(&body, kCallTimeoutMs)) {
      if (Resume(s)) continue;
      break;
    }
    wire::Reader rd(body);
    auto op = static_cast<wire::Op>(rd.U8());
    wire::Object event = rd.Obj();
    if (!rd.ok() || op != wire::Op::Event) { end = WBEM_E_TRANSPORT_FAILURE; break; }
    IWbemClassObject* obj = WbemObject::Make(std::move(event));
    s->sink->Indicate(1, &obj);
    obj->Release();
  }
  if (s->cancelled) end = WBEM_E_CALL_CANCELLED;
  // Ended before the sink hears of it: a subscriber that saw the final status
  // finds nothing left to cancel.
  s->finished = true;
  s->sink->SetStatus(WBEM_STATUS_COMPLETE, end, nullptr, nullptr);
  s->sink->Release();
  s->sink = nullptr;
  s->channel.Close();
  CoUninitialize();
}

// Stops a subscription and waits for its thread, unless called from that thread
// (a sink may cancel itself from Indicate): then the thread ends on its own.
void Stop(const std::shared_ptr<Subscription>& s) {
  s->Wake();
  if (s->thread.get_id() == std::this_thread::get_id()) {
    // The thread still uses the object; it owns a reference through the lambda.
    s->thread.detach();
  } else if (s->thread.joinable()) {
    s->thread.join();
  }
}

class Registry {
 public:
  static Registry& Get() {
    static Registry r;
    return r;
  }
  ~Registry() {
    std::vector<std::shared_ptr<Subscription>> left;
    {
      std::lock_guard<std::mutex> lock(lock_);
      left.swap(list_);
    }
    for (auto& s : left) Stop(s);
  }
  void Add(std::shared_ptr<Subscription> s) {
    std::vector<std::shared_ptr<Subscription>> done;
    {
      std::lock_guard<std::mutex> lock(lock_);
      // Subscriptions that ended by themselves are joined here, so none piles up.
      auto ended = std::stable_partition(list_.begin(), list_.end(), [](auto& x) { return !x->finished; });
      done.assign(ended, list_.end());
      list_.erase(ended, list_.end());
      list_.push_back(std::move(s));
    }
    for (auto& d : done) Stop(d);
  }
  std::shared_ptr<Subscription> Take(std::uint64_t owner, IWbemObjectSink* sink) {
    std::lock_guard<std::mutex> lock(lock_);
    for (auto it = list_.begin(); it != list_.end(); ++it) {
      if ((*it)->owner == owner && (*it)->key == sink && !(*it)->finished) {
        auto s = *it;
        list_.erase(it);
        return s;
      }
    }
    return nullptr;
  }

 private:
  std::mutex lock_;
  std::vector<std::shared_ptr<Subscription>> list_;
};

}  // namespace

HRESULT Subscriptions::Start(std::uint64_t owner, const std::string& ns, const std::string& cls,
                             IWbemObjectSink* sink) {
  auto s = std::make_shared<Subscription>();
  HRESULT status = Open(s->channel, ns, cls);
  if (FAILED(status)) return status;
  int wake[2];
  if (pipe2(wake, O_CLOEXEC) != 0) return E_OUTOFMEMORY;
  s->wakeRead.reset(wake[0]);
  s->wakeWrite.reset(wake[1]);
  s->owner = owner;
  s->ns = ns;
  s->cls = cls;
  s->key = sink;
  s->sink = sink;
  sink->AddRef();
  s->thread = std::thread([s] { Deliver(s.get()); });
  Registry::Get().Add(s);
  return WBEM_S_NO_ERROR;
}

HRESULT Subscriptions::Cancel(std::uint64_t owner, IWbemObjectSink* sink) {
  auto s = Registry::Get().Take(owner, sink);
  if (!s) return WBEM_E_NOT_FOUND;
  Stop(s);
  return WBEM_S_NO_ERROR;
}

}  // namespace orv::wmi::detail
