// Event delivery: one posted message per delivery, taken from the first object's
// OrvEvt value (low 16 bits).
#include "library/event_sink.h"

#include <cstdio>

#include "library/window_post.h"

namespace orv::lib {

using namespace orv::wmi;

HRESULT CEventSink::QueryInterface(Iid iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == Iid::Unknown || iid == Iid::WbemObjectSink) {
    *out = static_cast<IWbemObjectSink*>(this);
    AddRef();
    return WBEM_S_NO_ERROR;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CEventSink::AddRef() { return static_cast<ULONG>(++m_lRef); }

ULONG CEventSink::Release() {
  long n = --m_lRef;
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT CEventSink::Indicate(long count, IWbemClassObject** objects) {
  if (count <= 0 || !objects || !objects[0]) return WBEM_S_NO_ERROR;
  Variant value;
  HRESULT hr = objects[0]->Get(u"OrvEvt", 0, &value, nullptr, nullptr);
  // Without a readable integer value there is no event code to pass on: a zero
  // message would look like a real event to the window.
  bool readable = Succeeded(hr) && value.vt != VT_EMPTY && value.vt != VT_NULL && value.vt != VT_BSTR;
  if (readable) {
    auto v = static_cast<unsigned>(value.num) & 0xFFFFu;
    PostToWindow(m_hTarget, kEcEventMessage, v & 0xFFu, (v & 0xFF00u) >> 8);
  }
  for (long i = 0; i < count; ++i) std::fputs("Event occurred\n", stdout);
  VariantClear(&value);
  return WBEM_S_NO_ERROR;
}

HRESULT CEventSink::SetStatus(long flags, HRESULT result, const char16_t*, IWbemClassObject*) {
  if (flags == WBEM_STATUS_COMPLETE) {
    std::printf("Call complete. hResult = 0x%X\n", static_cast<unsigned>(result));
  } else if (flags == WBEM_STATUS_PROGRESS) {
    std::fputs("Call in progress.\n", stdout);
  }
  return WBEM_S_NO_ERROR;
}

}  // namespace orv::lib
