// The unsecured apartment, a local server class, and the forwarding sink stubs it
// makes for the sinks of asynchronous calls.
#include <wbemidl.h>

#include "platform/wmi/sim/apartment.h"
#include "platform/wmi/sim/class_table.h"
#include "platform/wmi/sim/com_object.h"

namespace orv::wmi::detail {
namespace {

// Forwards sink calls to the object it was made for, holding a reference to it.
class SinkStub : public com::ComObject<IWbemObjectSink, IID_IWbemObjectSink> {
 public:
  explicit SinkStub(IUnknown* target) : target_(target) {
    target_->AddRef();
    target_->QueryInterface(IID_IWbemObjectSink, reinterpret_cast<void**>(&sink_));
  }
  ~SinkStub() override {
    if (sink_) sink_->Release();
    target_->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IWbemObjectSink && !sink_) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(riid, out);
  }
  HRESULT STDMETHODCALLTYPE Indicate(LONG lObjectCount, IWbemClassObject** apObjArray) override {
    return sink_ ? sink_->Indicate(lObjectCount, apObjArray) : E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE SetStatus(LONG lFlags, HRESULT hResult, BSTR strParam,
                                      IWbemClassObject* pObjParam) override {
    return sink_ ? sink_->SetStatus(lFlags, hResult, strParam, pObjParam) : E_NOINTERFACE;
  }

 private:
  IUnknown* target_;
  IWbemObjectSink* sink_ = nullptr;
};

class UnsecuredApartment : public com::ComObject<IUnsecuredApartment, IID_IUnsecuredApartment> {
 public:
  HRESULT STDMETHODCALLTYPE CreateObjectStub(IUnknown* pObject, IUnknown** ppStub) override {
    if (!ppStub) return E_POINTER;
    *ppStub = nullptr;
    if (!com::ComReady()) return CO_E_NOTINITIALIZED;
    if (!pObject) return E_INVALIDARG;
    *ppStub = new SinkStub(pObject);
    return S_OK;
  }
};

HRESULT CreateUnsecuredApartment(IUnknown** out) {
  *out = new UnsecuredApartment();
  return S_OK;
}

[[maybe_unused]] const bool kRegistered =
    com::RegisterClassObject(CLSID_UnsecuredApartment, CLSCTX_LOCAL_SERVER, &CreateUnsecuredApartment);

}  // namespace
}  // namespace orv::wmi::detail
