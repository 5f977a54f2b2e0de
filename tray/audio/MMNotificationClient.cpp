// The device notifications: an added endpoint or a new default (of any flow or
// role) becomes the watched one, a removal sends the watch back to the default.
#include "tray/audio/MMNotificationClient.h"

#include <objbase.h>

#include "tray/audio/KvVolume.h"

CMMNotificationClient::~CMMNotificationClient() = default;

HRESULT CMMNotificationClient::QueryInterface(REFIID riid, void** ppvObject) {
  if (!ppvObject) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IMMNotificationClient) {
    AddRef();
    *ppvObject = static_cast<IMMNotificationClient*>(this);
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG CMMNotificationClient::AddRef() { return static_cast<ULONG>(++m_cRef); }

ULONG CMMNotificationClient::Release() {
  const LONG n = --m_cRef;
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT CMMNotificationClient::SwitchToDevice(LPCWSTR pwstrDeviceId) {
  // Core Audio's thread is already in its apartment, so this normally changes
  // nothing; a thread it did enter leaves it again below.
  const HRESULT com = CoInitialize(nullptr);
  HRESULT hr = S_OK;
  if (!m_pEnumerator)
    hr = CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, IID_IMMDeviceEnumerator,
                          m_pEnumerator.put_void());
  if (FAILED(hr)) {
    m_pOwner->SwitchEndpoint(nullptr);
  } else {
    orv::com_ptr<IMMDevice> device;
    hr = pwstrDeviceId ? m_pEnumerator->GetDevice(pwstrDeviceId, device.put()) : E_POINTER;
    m_pOwner->SwitchEndpoint(SUCCEEDED(hr) ? device.detach() : nullptr);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return hr;
}

HRESULT CMMNotificationClient::OnDeviceStateChanged(LPCWSTR, DWORD) { return S_OK; }

HRESULT CMMNotificationClient::OnDeviceAdded(LPCWSTR pwstrDeviceId) { return SwitchToDevice(pwstrDeviceId); }

HRESULT CMMNotificationClient::OnDeviceRemoved(LPCWSTR) {
  m_pOwner->SwitchEndpoint(nullptr);
  return S_OK;
}

HRESULT CMMNotificationClient::OnDefaultDeviceChanged(EDataFlow, ERole, LPCWSTR pwstrDeviceId) {
  return SwitchToDevice(pwstrDeviceId);
}

HRESULT CMMNotificationClient::OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) { return S_OK; }
