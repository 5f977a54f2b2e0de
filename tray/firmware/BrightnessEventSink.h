// EventSink: the brightness events' sink. Each delivery is sent to the main
// window (g_pMainDlg) as WM_BRIGHTNESS_CHANGED with the new level in wParam.
#pragma once
#include <wbemidl.h>

#include <atomic>

class EventSink : public IWbemObjectSink {
 public:
  EventSink() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Indicate(LONG lObjectCount, IWbemClassObject** apObjArray) override;
  HRESULT STDMETHODCALLTYPE SetStatus(LONG lFlags, HRESULT hResult, BSTR strParam,
                                      IWbemClassObject* pObjParam) override;

 protected:
  // Only Release ends a sink.
  virtual ~EventSink() = default;

 private:
  std::atomic<LONG> m_lRef{0};
};
