// Requests of a services proxy: each is one round trip on the connection.
#include "platform/wmi/services.h"

#include "platform/text/ansi.h"
#include "platform/wmi/enumerator.h"
#include "platform/wmi/object.h"
#include "platform/wmi/query.h"
#include "platform/wmi/subscription.h"

namespace orv::wmi::detail {
namespace {

std::string Narrow(const char16_t* s) { return s ? text::WideToAnsi(s) : std::string(); }

}  // namespace

std::atomic<std::uint64_t> Services::nextId_{0};

HRESULT Services::Connect(const std::string& ns, IWbemServices** out) {
  ComPtr<Services> s = ComPtr<Services>::Attach(new Services());
  if (!s->channel_.Connect(ProviderSocketPath())) return RPC_E_SERVER_UNAVAILABLE;
  s->ns_ = ns;  // the provider answers with its own spelling of the name
  wire::Writer w = s->Request(wire::Op::Hello);
  std::string reply;
  HRESULT hr = s->Call(w, &reply);
  if (Failed(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  s->ns_ = r.Str();
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  EnsureSecurityInitialised();
  *out = s.Get();
  (*out)->AddRef();
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
  return r.ok() ? status : WBEM_E_TRANSPORT_FAILURE;
}

HRESULT Services::ExecQuery(const char16_t* language, const char16_t* query, long flags, IWbemContext* context,
                            IEnumWbemClassObject** result) {
  (void)flags;
  (void)context;
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (!result) return WBEM_E_INVALID_PARAMETER;
  *result = nullptr;
  std::string cls;
  HRESULT hr = ParseSelectAll(language, query, &cls);
  if (Failed(hr)) return hr;
  wire::Writer w = Request(wire::Op::Query);
  w.Str(cls);
  std::string reply;
  hr = Call(w, &reply);
  if (Failed(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  std::uint32_t n = r.U32();
  std::vector<wire::Object> objects;
  for (std::uint32_t i = 0; i < n && r.ok(); ++i) objects.push_back(r.Obj());
  auto finalStatus = static_cast<HRESULT>(r.U32());
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  *result = new Enumerator(std::move(objects), finalStatus);
  return WBEM_S_NO_ERROR;
}

HRESULT Services::ExecNotificationQueryAsync(const char16_t* language, const char16_t* query, long flags,
                                             IWbemContext* context, IWbemObjectSink* sink) {
  (void)flags;
  (void)context;
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (!sink) return WBEM_E_INVALID_PARAMETER;
  std::string cls;
  HRESULT hr = ParseSelectAll(language, query, &cls);
  if (Failed(hr)) return hr;
  return Subscriptions::Start(id_, ns_, cls, sink);
}

HRESULT Services::CancelAsyncCall(IWbemObjectSink* sink) {
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (!sink) return WBEM_E_INVALID_PARAMETER;
  return Subscriptions::Cancel(id_, sink);
}

HRESULT Services::PutInstance(IWbemClassObject* instance, long flags, IWbemContext* context, void* callResult) {
  (void)context;
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (callResult) return WBEM_E_NOT_SUPPORTED;  // only synchronous calls
  WbemObject* obj = instance ? WbemObject::From(instance) : nullptr;
  if (!obj || obj->Data().isClass) return WBEM_E_INVALID_PARAMETER;
  std::string path = obj->Data().RelPath();
  if (path.empty()) return WBEM_E_INVALID_OBJECT_PATH;
  auto changed = obj->Changed();
  wire::Writer w = Request(wire::Op::PutInstance);
  w.Str(path);
  w.U32(static_cast<std::uint32_t>(flags));
  w.U32(static_cast<std::uint32_t>(changed.size()));
  for (auto& p : changed) w.Prop(p);
  std::string reply;
  HRESULT hr = Call(w, &reply);
  if (Succeeded(hr)) obj->ClearChanged();
  return hr;
}

HRESULT Services::GetObject(const char16_t* path, long flags, IWbemContext* context, IWbemClassObject** object,
                            void* callResult) {
  (void)flags;
  (void)context;
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (callResult) return WBEM_E_NOT_SUPPORTED;
  if (!path || !object) return WBEM_E_INVALID_PARAMETER;
  *object = nullptr;
  wire::Writer w = Request(wire::Op::GetObject);
  w.Str(Narrow(path));
  std::string reply;
  HRESULT hr = Call(w, &reply);
  if (Failed(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  wire::Object o = r.Obj();
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  *object = WbemObject::Make(std::move(o));
  return WBEM_S_NO_ERROR;
}

HRESULT Services::ExecMethod(const char16_t* objectPath, const char16_t* method, long flags, IWbemContext* context,
                             IWbemClassObject* inParams, IWbemClassObject** outParams, void* callResult) {
  (void)flags;
  (void)context;
  if (outParams) *outParams = nullptr;
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (callResult) return WBEM_E_NOT_SUPPORTED;
  if (!objectPath || !method) return WBEM_E_INVALID_PARAMETER;
  WbemObject* in = inParams ? WbemObject::From(inParams) : nullptr;
  if (inParams && !in) return WBEM_E_INVALID_PARAMETER;
  wire::Writer w = Request(wire::Op::ExecMethod);
  w.Str(Narrow(objectPath));
  w.Str(Narrow(method));
  w.U8(in ? 1 : 0);
  if (in) w.Obj(in->Data());
  std::string reply;
  HRESULT hr = Call(w, &reply);
  if (Failed(hr)) return hr;
  wire::Reader r(reply);
  r.U32();
  bool hasOut = r.U8() != 0;
  wire::Object out;
  if (hasOut) out = r.Obj();
  if (!r.ok()) return WBEM_E_TRANSPORT_FAILURE;
  if (hasOut && outParams) *outParams = WbemObject::Make(std::move(out));
  return hr;
}

}  // namespace orv::wmi::detail
