// Event delivery: one posted message per delivery, taken from the first object's
// OrvEvt value (low 16 bits).
#include "library/event_sink.h"

#include <cstdio>

#include "library/window_post.h"
#include "platform/base/unique_com.h"

namespace orv::lib {
namespace {

// The integer a variant holds, whatever its integer type (WMI hands a uint32 out
// as VT_I4); false for text, nothing and every other type.
bool IntegerValue(const VARIANT& v, ULONGLONG* out) {
  switch (v.vt) {
    case VT_I1: *out = static_cast<ULONGLONG>(v.cVal); return true;
    case VT_UI1: *out = v.bVal; return true;
    case VT_I2: *out = static_cast<ULONGLONG>(v.iVal); return true;
    case VT_UI2: *out = v.uiVal; return true;
    case VT_I4: *out = static_cast<ULONGLONG>(v.lVal); return true;
    case VT_UI4: *out = v.ulVal; return true;
    case VT_INT: *out = static_cast<ULONGLONG>(v.intVal); return true;
    case VT_UINT: *out = v.uintVal; return true;
    case VT_I8: *out = static_cast<ULONGLONG>(v.llVal); return true;
    case VT_UI8: *out = v.ullVal; return true;
    case VT_BOOL: *out = static_cast<ULONGLONG>(v.boolVal); return true;
    default: return false;
  }
}

}  // namespace

HRESULT CEventSink::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IWbemObjectSink)) {
    *ppv = static_cast<IWbemObjectSink*>(this);
    AddRef();
    return WBEM_S_NO_ERROR;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG CEventSink::AddRef() { return static_cast<ULONG>(++m_lRef); }

ULONG CEventSink::Release() {
  LONG n = --m_lRef;
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT CEventSink::Indicate(LONG lObjectCount, IWbemClassObject** apObjArray) {
  if (lObjectCount <= 0 || !apObjArray || !apObjArray[0]) return WBEM_S_NO_ERROR;
  unique_variant value;
  HRESULT hr = apObjArray[0]->Get(OLESTR("OrvEvt"), 0, value.put(), nullptr, nullptr);
  // Without a readable integer value there is no event code to pass on: a zero
  // message would look like a real event to the window.
  ULONGLONG number = 0;
  if (SUCCEEDED(hr) && IntegerValue(*value.get(), &number)) {
    const auto v = static_cast<unsigned>(number & 0xFFFFu);
    PostToWindow(m_hTarget, kEcEventMessage, v & 0xFFu, (v & 0xFF00u) >> 8);
  }
  for (LONG i = 0; i < lObjectCount; ++i) std::fputs("Event occurred\n", stdout);
  return WBEM_S_NO_ERROR;
}

HRESULT CEventSink::SetStatus(LONG lFlags, HRESULT hResult, BSTR, IWbemClassObject*) {
  if (lFlags == WBEM_STATUS_COMPLETE) {
    std::printf("Call complete. hResult = 0x%X\n", static_cast<unsigned>(hResult));
  } else if (lFlags == WBEM_STATUS_PROGRESS) {
    std::fputs("Call in progress.\n", stdout);
  }
  return WBEM_S_NO_ERROR;
}

}  // namespace orv::lib
