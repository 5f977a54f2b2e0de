// The brightness sink: one WM_BRIGHTNESS_CHANGED per delivery, from its first
// object's Brightness; SetStatus writes the library sink's trace lines.
#include "tray/firmware/BrightnessEventSink.h"

#include <cstdio>

#include "platform/base/unique_com.h"
#include "tray/core/CalvexDlg.h"

HRESULT EventSink::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IWbemObjectSink) {
    *ppv = static_cast<IWbemObjectSink*>(this);
    AddRef();
    return WBEM_S_NO_ERROR;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG EventSink::AddRef() { return static_cast<ULONG>(++m_lRef); }

ULONG EventSink::Release() {
  const LONG n = --m_lRef;
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT EventSink::Indicate(LONG lObjectCount, IWbemClassObject** apObjArray) {
  if (lObjectCount < 1 || !apObjArray || !apObjArray[0]) return WBEM_S_NO_ERROR;
  orv::unique_variant value;
  apObjArray[0]->Get(OLESTR("Brightness"), 0, value.put(), nullptr, nullptr);
  // An event without a readable level says nothing: no level is made up for it.
  if (value->vt == VT_EMPTY || value->vt == VT_NULL || FAILED(VariantChangeType(value.get(), value.get(), 0, VT_I4)))
    return WBEM_S_NO_ERROR;
  // Sent and waited for: the main window has decided before WMI goes on.
  if (CCalvexDlg* main = g_pMainDlg)
    SendMessageA(main->GetSafeHwnd(), WM_BRIGHTNESS_CHANGED, static_cast<WPARAM>(value->lVal & 0xFF), 0);
  return WBEM_S_NO_ERROR;
}

HRESULT EventSink::SetStatus(LONG lFlags, HRESULT hResult, BSTR, IWbemClassObject*) {
  if (lFlags == WBEM_STATUS_COMPLETE) {
    std::printf("Call complete. hResult = 0x%X\n", static_cast<unsigned>(hResult));
  } else if (lFlags == WBEM_STATUS_PROGRESS) {
    std::fputs("Call in progress.\n", stdout);
  }
  return WBEM_S_NO_ERROR;
}
