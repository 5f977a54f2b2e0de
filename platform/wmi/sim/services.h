// The proxy of one connection to a namespace of the provider.
#pragma once
#include <wbemidl.h>

#include <atomic>
#include <mutex>
#include <string>

#include "platform/wmi/sim/channel.h"
#include "platform/wmi/sim/com_object.h"
#include "platform/wmi/sim/proxy.h"
#include "platform/wmi/sim/wire.h"

namespace orv::wmi::detail {

// How long one request may take before the connection counts as broken.
constexpr int kCallTimeoutMs = 30000;

class Services : public com::ComObject<IWbemServices, IID_IWbemServices>, public com::Proxy {
 public:
  // Connects and asks for the namespace; on success *out carries one reference.
  static HRESULT Connect(const std::string& ns, IWbemServices** out);

  HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG lFlags,
                                      IWbemContext* pCtx, IEnumWbemClassObject** ppEnum) override;
  HRESULT STDMETHODCALLTYPE ExecNotificationQueryAsync(const BSTR strQueryLanguage, const BSTR strQuery,
                                                       LONG lFlags, IWbemContext* pCtx,
                                                       IWbemObjectSink* pResponseHandler) override;
  HRESULT STDMETHODCALLTYPE CancelAsyncCall(IWbemObjectSink* pSink) override;
  HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext* pCtx,
                                        IWbemCallResult** ppCallResult) override;
  HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                      IWbemClassObject** ppObject, IWbemCallResult** ppCallResult) override;
  HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR strObjectPath, const BSTR strMethodName, LONG lFlags,
                                       IWbemContext* pCtx, IWbemClassObject* pInParams,
                                       IWbemClassObject** ppOutParams, IWbemCallResult** ppCallResult) override;

  // Not served by the simulated WMI.
  HRESULT STDMETHODCALLTYPE OpenNamespace(const BSTR, LONG, IWbemContext*, IWbemServices**,
                                          IWbemCallResult**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG, IWbemObjectSink**) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE GetObjectAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE PutClass(IWbemClassObject*, LONG, IWbemContext*, IWbemCallResult**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE PutClassAsync(IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DeleteClass(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DeleteClassAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE CreateClassEnum(const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE PutInstanceAsync(IWbemClassObject*, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR, LONG, IWbemContext*, IWbemCallResult**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR, LONG, IWbemContext*, IEnumWbemClassObject**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE ExecQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*, IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE ExecNotificationQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                                                  IEnumWbemClassObject**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE ExecMethodAsync(const BSTR, const BSTR, LONG, IWbemContext*, IWbemClassObject*,
                                            IWbemObjectSink*) override {
    return WBEM_E_NOT_SUPPORTED;
  }

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

// True for a string argument that can cross to the WMI service: NULL or a BSTR.
bool CarriesAsBstr(const OLECHAR* s);

}  // namespace orv::wmi::detail
