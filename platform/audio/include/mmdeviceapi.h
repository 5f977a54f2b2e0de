// The multimedia device API (mmdeviceapi.h of the Windows SDK), for the simulated
// build: the device enumerator of CLSID_MMDeviceEnumerator, the audio endpoint
// devices and their collections, and the client's notification interface.
//
// The simulated notebook's audio endpoints are system-wide: its firmware provider
// keeps them (built-in speakers and a headphone jack, each with its volume and mute
// state) and tells every process of each change. Notifications reach a process's
// registered interfaces on a thread of the audio layer, one notification at a time.
#pragma once
#include <objbase.h>
#include <propsys.h>

#define E_NOTFOUND HRESULT_FROM_WIN32(ERROR_NOT_FOUND)

#define DEVICE_STATE_ACTIVE 0x00000001
#define DEVICE_STATE_DISABLED 0x00000002
#define DEVICE_STATE_NOTPRESENT 0x00000004
#define DEVICE_STATE_UNPLUGGED 0x00000008
#define DEVICE_STATEMASK_ALL 0x0000000f

typedef enum _EDataFlow { eRender = 0, eCapture = 1, eAll = 2, EDataFlow_enum_count = 3 } EDataFlow;
typedef enum _ERole { eConsole = 0, eMultimedia = 1, eCommunications = 2, ERole_enum_count = 3 } ERole;

extern "C" const IID IID_IMMNotificationClient;
extern "C" const IID IID_IMMDevice;
extern "C" const IID IID_IMMDeviceCollection;
extern "C" const IID IID_IMMDeviceEnumerator;
extern "C" const CLSID CLSID_MMDeviceEnumerator;

// Implemented by the client. Its methods are called on a thread of the audio
// layer and must not block: no waiting for the client's other threads, and no
// registering or unregistering notification interfaces from inside them.
struct IMMNotificationClient : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR pwstrDeviceId, DWORD dwNewState) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR pwstrDeviceId) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR pwstrDeviceId) = 0;
  // pwstrDefaultDeviceId is NULL when the role is left without a device.
  virtual HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                           LPCWSTR pwstrDefaultDeviceId) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR pwstrDeviceId, const PROPERTYKEY key) = 0;
};

struct IMMDevice : public IUnknown {
  // IID_IAudioEndpointVolume is the one interface the simulated endpoints activate;
  // AUDCLNT_E_DEVICE_INVALIDATED (audioclient.h) once the device is no longer active.
  virtual HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD dwClsCtx, PROPVARIANT* pActivationParams,
                                             void** ppInterface) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD stgmAccess, IPropertyStore** ppProperties) = 0;
  // The endpoint ID string, in task memory (CoTaskMemFree).
  virtual HRESULT STDMETHODCALLTYPE GetId(LPWSTR* ppstrId) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetState(DWORD* pdwState) = 0;
};

struct IMMDeviceCollection : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCount(UINT* pcDevices) = 0;
  virtual HRESULT STDMETHODCALLTYPE Item(UINT nDevice, IMMDevice** ppDevice) = 0;
};

struct IMMDeviceEnumerator : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                                       IMMDeviceCollection** ppDevices) = 0;
  // E_NOTFOUND when no active endpoint has the role.
  virtual HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role,
                                                            IMMDevice** ppEndpoint) = 0;
  // E_NOTFOUND for an ID that names no endpoint.
  virtual HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice) = 0;
  // Neither call adds or releases a reference: the client keeps its interface alive
  // until it has unregistered it. Unregistering waits for a notification that is
  // being delivered to the interface on another thread to return.
  virtual HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* pClient) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient) = 0;
};
