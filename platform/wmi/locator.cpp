// The creatable classes: the locator that connects to a namespace, the (empty)
// context object and the unsecured apartment with its forwarding sink stubs.
#include "platform/text/ansi.h"
#include "platform/wmi/apartment.h"
#include "platform/wmi/services.h"

namespace orv::wmi::detail {
namespace {

class Locator : public RefCounted<IWbemLocator, Iid::WbemLocator> {
 public:
  HRESULT ConnectServer(const char16_t* networkResource, const char16_t* user, const char16_t* password,
                        const char16_t* locale, long securityFlags, const char16_t* authority,
                        IWbemContext* context, IWbemServices** services) override {
    (void)user, (void)password, (void)locale, (void)securityFlags, (void)authority, (void)context;
    if (!ComReady()) return CO_E_NOTINITIALIZED;
    if (!networkResource || !services) return WBEM_E_INVALID_PARAMETER;
    *services = nullptr;
    return Services::Connect(text::WideToAnsi(networkResource), services);
  }
};

class Context : public RefCounted<IWbemContext, Iid::WbemContext> {};

// Forwards sink calls to the object it was made for, holding a reference to it.
class SinkStub : public RefCounted<IWbemObjectSink, Iid::WbemObjectSink> {
 public:
  explicit SinkStub(IUnknown* target) : target_(target) {
    target_->AddRef();
    target_->QueryInterface(Iid::WbemObjectSink, reinterpret_cast<void**>(&sink_));
  }
  ~SinkStub() override {
    if (sink_) sink_->Release();
    target_->Release();
  }
  HRESULT QueryInterface(Iid iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == Iid::WbemObjectSink && !sink_) { *out = nullptr; return E_NOINTERFACE; }
    return RefCounted::QueryInterface(iid, out);
  }
  HRESULT Indicate(long count, IWbemClassObject** objects) override {
    return sink_ ? sink_->Indicate(count, objects) : E_NOINTERFACE;
  }
  HRESULT SetStatus(long flags, HRESULT result, const char16_t* param, IWbemClassObject* object) override {
    return sink_ ? sink_->SetStatus(flags, result, param, object) : E_NOINTERFACE;
  }

 private:
  IUnknown* target_;
  IWbemObjectSink* sink_ = nullptr;
};

class UnsecuredApartment : public RefCounted<IUnsecuredApartment, Iid::UnsecuredApartment> {
 public:
  HRESULT CreateObjectStub(IUnknown* object, IUnknown** stub) override {
    if (!stub) return E_POINTER;
    *stub = nullptr;
    if (!ComReady()) return CO_E_NOTINITIALIZED;
    if (!object) return E_INVALIDARG;
    *stub = static_cast<IWbemObjectSink*>(new SinkStub(object));
    return S_OK;
  }
};

}  // namespace

HRESULT CreateLocator(void** out) {
  *out = static_cast<IUnknown*>(new Locator());
  return S_OK;
}

HRESULT CreateContext(void** out) {
  *out = static_cast<IUnknown*>(new Context());
  return S_OK;
}

HRESULT CreateUnsecuredApartment(void** out) {
  *out = static_cast<IUnknown*>(new UnsecuredApartment());
  return S_OK;
}

}  // namespace orv::wmi::detail
