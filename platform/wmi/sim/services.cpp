// Requests of a services proxy: each is one round trip on the connection.
#include "platform/wmi/sim/services.h"

#include "platform/base/unique_com.h"
#include "platform/text/sim/ansi.h"
#include "platform/wmi/sim/apartment.h"
#include "platform/wmi/sim/bstr.h"
#include "platform/wmi/sim/enumerator.h"
#include "platform/wmi/sim/faults.h"
#include "platform/wmi/sim/object.h"
#include "platform/wmi/sim/query.h"
#include "platform/wmi/sim/subscription.h"

namespace orv::wmi::detail {
namespace {

std::string Narrow(const OLECHAR* s) { return s ? text::WideToAnsi(s) : std::string(); }

}  // namespace

bool CarriesAsBstr(const OLECHAR* s) { return !s || com::IsBstr(s); }

std::atomic<std::uint64_t> Services::nextId_{0};

HRESULT Services::Connect(const std::string& ns, IWbemServices** out) {
  auto s = com_ptr<Services>::attach(new Services());
  if (!s->channel_.Connect(ProviderSocketPath())) return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
  s->ns_ = ns;  // the provider answers with its own spelling of the name
  wire::Writer w = s->Request(wire::Op::Hello);
  std::string reply;
  HRESULT hr = s->Call(w, &reply);
  if (FAILED(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  s->ns_ = r.Str();
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  com::EnsureSecurityInitialised();
  *out = s.detach();
  return WBEM_S_NO_ERROR;
}

wire::Writer Services::Request(wire::Op op) const {
  wire::Writer w;
  w.U8(static_cast<std::uint8_t>(op));
  w.Str(ns_);
  return w;
}

HRESULT Services::Call(const wire::Writer& request, std::string* reply) {
  std::lock_guard<std::mutex> lock(lock_);
  if (!channel_.Call(request.Body(), reply, kCallTimeoutMs)) {
    channel_.Close();
    return WBEM_E_TRANSPORT_FAILURE;
  }
  wire::Reader r(*reply);
  auto status = static_cast<HRESULT>(r.U32());
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  return status;
}

HRESULT Services::ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG, IWbemContext*,
                            IEnumWbemClassObject** ppEnum) {
  if (!com::ComReady()) return CO_E_NOTINITIALIZED;
  if (!ppEnum || !CarriesAsBstr(strQueryLanguage) || !CarriesAsBstr(strQuery)) return WBEM_E_INVALID_PARAMETER;
  *ppEnum = nullptr;
  std::string cls;
  HRESULT hr = ParseSelectAll(strQueryLanguage, strQuery, &cls);
  if (FAILED(hr)) return hr;
  wire::Writer w = Request(wire::Op::Query);
  w.Str(cls);
  std::string reply;
  hr = Call(w, &reply);
  if (FAILED(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  std::uint32_t n = r.U32();
  std::vector<wire::Object> objects;
  for (std::uint32_t i = 0; i < n && r.ok(); ++i) objects.push_back(r.Obj());
  auto finalStatus = static_cast<HRESULT>(r.U32());
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  *ppEnum = new Enumerator(std::move(objects), finalStatus);
  return WBEM_S_NO_ERROR;
}

HRESULT Services::ExecNotificationQueryAsync(const BSTR strQueryLanguage, const BSTR strQuery, LONG, IWbemContext*,
                                             IWbemObjectSink* pResponseHandler) {
  if (!com::ComReady()) return CO_E_NOTINITIALIZED;
  if (!pResponseHandler || !CarriesAsBstr(strQueryLanguage) || !CarriesAsBstr(strQuery))
    return WBEM_E_INVALID_PARAMETER;
  std::string cls;
  HRESULT hr = ParseSelectAll(strQueryLanguage, strQuery, &cls);
  if (FAILED(hr)) return hr;
  if (EventClassRefused(cls)) return WBEM_E_INVALID_CLASS;
  return Subscriptions::Start(id_, ns_, cls, pResponseHandler);
}

HRESULT Services::CancelAsyncCall(IWbemObjectSink* pSink) {
  if (!com::ComReady()) return CO_E_NOTINITIALIZED;
  if (!pSink) return WBEM_E_INVALID_PARAMETER;
  return Subscriptions::Cancel(id_, pSink);
}

HRESULT Services::PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext*, IWbemCallResult** ppCallResult) {
  if (!com::ComReady()) return CO_E_NOTINITIALIZED;
  if (ppCallResult) return WBEM_E_NOT_SUPPORTED;  // only synchronous calls
  WbemObject* obj = pInst ? WbemObject::From(pInst) : nullptr;
  if (!obj || obj->Data().isClass) return WBEM_E_INVALID_PARAMETER;
  std::string path = obj->Data().RelPath();
  if (path.empty()) return WBEM_E_INVALID_OBJECT_PATH;
  auto changed = obj->Changed();
  wire::Writer w = Request(wire::Op::PutInstance);
  w.Str(path);
  w.U32(static_cast<std::uint32_t>(lFlags));
  w.U32(static_cast<std::uint32_t>(changed.size()));
  for (auto& p : changed) w.Prop(p);
  std::string reply;
  HRESULT hr = Call(w, &reply);
  if (SUCCEEDED(hr)) obj->ClearChanged();
  return hr;
}

HRESULT Services::GetObject(const BSTR strObjectPath, LONG, IWbemContext*, IWbemClassObject** ppObject,
                            IWbemCallResult** ppCallResult) {
  if (!com::ComReady()) return CO_E_NOTINITIALIZED;
  if (ppCallResult) return WBEM_E_NOT_SUPPORTED;
  if (!strObjectPath || !CarriesAsBstr(strObjectPath) || !ppObject) return WBEM_E_INVALID_PARAMETER;
  *ppObject = nullptr;
  wire::Writer w = Request(wire::Op::GetObject);
  w.Str(Narrow(strObjectPath));
  std::string reply;
  HRESULT hr = Call(w, &reply);
  if (FAILED(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  wire::Object o = r.Obj();
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  *ppObject = WbemObject::Make(std::move(o));
  return WBEM_S_NO_ERROR;
}

HRESULT Services::ExecMethod(const BSTR strObjectPath, const BSTR strMethodName, LONG, IWbemContext*,
                             IWbemClassObject* pInParams, IWbemClassObject** ppOutParams,
                             IWbemCallResult** ppCallResult) {
  if (ppOutParams) *ppOutParams = nullptr;
  if (!com::ComReady()) return CO_E_NOTINITIALIZED;
  if (ppCallResult) return WBEM_E_NOT_SUPPORTED;
  if (!strObjectPath || !strMethodName || !CarriesAsBstr(strObjectPath) || !CarriesAsBstr(strMethodName))
    return WBEM_E_INVALID_PARAMETER;
  WbemObject* in = pInParams ? WbemObject::From(pInParams) : nullptr;
  if (pInParams && !in) return WBEM_E_INVALID_PARAMETER;
  wire::Writer w = Request(wire::Op::ExecMethod);
  w.Str(Narrow(strObjectPath));
  w.Str(Narrow(strMethodName));
  w.U8(in ? 1 : 0);
  if (in) w.Obj(in->Data());
  std::string reply;
  HRESULT hr = Call(w, &reply);
  if (FAILED(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  bool hasOut = r.U8() != 0;
  wire::Object out;
  if (hasOut) out = r.Obj();
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  if (hasOut && ppOutParams) *ppOutParams = WbemObject::Make(std::move(out));
  return hr;
}

}  // namespace orv::wmi::detail
