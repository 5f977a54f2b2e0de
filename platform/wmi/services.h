// The proxy of one connection to a namespace of the provider.
#pragma once
#include <atomic>
#include <mutex>
#include <string>

#include "platform/wmi/apartment.h"
#include "platform/wmi/channel.h"
#include "platform/wmi/wire.h"

namespace orv::wmi::detail {

// How long one request may take before the connection counts as broken.
constexpr int kCallTimeoutMs = 30000;

class Services : public RefCounted<IWbemServices, Iid::WbemServices>, public Proxy {
 public:
  // Connects and asks for the namespace; on success *out carries one reference.
  static HRESULT Connect(const std::string& ns, IWbemServices** out);

  HRESULT ExecQuery(const char16_t* language, const char16_t* query, long flags, IWbemContext* context,
                    IEnumWbemClassObject** result) override;
  HRESULT ExecNotificationQueryAsync(const char16_t* language, const char16_t* query, long flags,
                                     IWbemContext* context, IWbemObjectSink* sink) override;
  HRESULT CancelAsyncCall(IWbemObjectSink* sink) override;
  HRESULT PutInstance(IWbemClassObject* instance, long flags, IWbemContext* context, void* callResult) override;
  HRESULT GetObject(const char16_t* path, long flags, IWbemContext* context, IWbemClassObject** object,
                    void* callResult) override;
  HRESULT ExecMethod(const char16_t* objectPath, const char16_t* method, long flags, IWbemContext* context,
                     IWbemClassObject* inParams, IWbemClassObject** outParams, void* callResult) override;

 private:
  Services() = default;
  // One request and its reply; the reply's status comes back, the rest of the
  // reply stays readable in *reply.
  HRESULT Call(const wire::Writer& request, std::string* reply);
  wire::Writer Request(wire::Op op) const;

  static std::atomic<std::uint64_t> nextId_;
  const std::uint64_t id_ = ++nextId_;  // names this connection's subscriptions
  std::mutex lock_;
  Channel channel_;
  std::string ns_;
};

}  // namespace orv::wmi::detail
