// CMMNotificationClient: moves its owner's volume watch when audio endpoints come,
// go or become the default (on Core Audio's threads).
#pragma once
#include <mmdeviceapi.h>

#include <atomic>

#include "platform/base/unique_com.h"

class CKvVolume;

class CMMNotificationClient : public IMMNotificationClient {
 public:
  explicit CMMNotificationClient(CKvVolume* owner) : m_pOwner(owner) {}
  // Deleted by its owner, whatever the count; releases its enumerator.
  virtual ~CMMNotificationClient();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR pwstrDeviceId, DWORD dwNewState) override;
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR pwstrDeviceId) override;
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR pwstrDeviceId) override;
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR pwstrDeviceId) override;
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR pwstrDeviceId, const PROPERTYKEY key) override;

 private:
  // Moves the watch to the device of the ID (or, failing that, to the default).
  HRESULT SwitchToDevice(LPCWSTR pwstrDeviceId);

  std::atomic<LONG> m_cRef{1};  // the owner's
  orv::com_ptr<IMMDeviceEnumerator> m_pEnumerator;  // made on first need, released with the object
  CKvVolume* m_pOwner;
};
