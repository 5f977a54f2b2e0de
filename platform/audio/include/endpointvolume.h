// Endpoint volume (endpointvolume.h of the Windows SDK), for the simulated build:
// the master volume and mute state of an audio endpoint device, and the client's
// callback that hears of their changes, whoever makes them (the caller included).
#pragma once
#include <objbase.h>

// What changed, as a callback receives it: the context the changer passed (or
// GUID_NULL), the mute state and the master and channel volumes after the change.
// The structure is allocated with room for nChannels channel volumes.
typedef struct AUDIO_VOLUME_NOTIFICATION_DATA {
  GUID guidEventContext;
  BOOL bMuted;
  FLOAT fMasterVolume;
  UINT nChannels;
  FLOAT afChannelVolumes[1];
} AUDIO_VOLUME_NOTIFICATION_DATA, *PAUDIO_VOLUME_NOTIFICATION_DATA;

#define ENDPOINT_HARDWARE_SUPPORT_VOLUME 0x00000001
#define ENDPOINT_HARDWARE_SUPPORT_MUTE 0x00000002
#define ENDPOINT_HARDWARE_SUPPORT_METER 0x00000004

extern "C" const IID IID_IAudioEndpointVolumeCallback;
extern "C" const IID IID_IAudioEndpointVolume;

// Implemented by the client; OnNotify runs on a thread of the audio layer.
struct IAudioEndpointVolumeCallback : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA pNotify) = 0;
};

// The simulated endpoints have two channels that follow the master volume. The
// decibel calls and the per-channel setters answer E_NOTIMPL; the rest act on
// the endpoint, or answer AUDCLNT_E_DEVICE_INVALIDATED once it is no longer active.
struct IAudioEndpointVolume : public IUnknown {
  // Adds a reference to the callback, which UnregisterControlChangeNotify releases.
  virtual HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) = 0;
  // Waits for a notification that is being delivered to the callback on another
  // thread to return, so the callback may be destroyed once this has returned.
  virtual HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pnChannelCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(FLOAT fLevelDB, LPCGUID pguidEventContext) = 0;
  // fLevel 0.0..1.0 (E_INVALIDARG otherwise); every call notifies, a repeated level too.
  virtual HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(FLOAT fLevel, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(FLOAT* pfLevelDB) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(FLOAT* pfLevel) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT nChannel, FLOAT fLevelDB, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT nChannel, FLOAT fLevel,
                                                                LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT nChannel, FLOAT* pfLevelDB) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT nChannel, FLOAT* pfLevel) = 0;
  // Every call notifies, an unchanged state too.
  virtual HRESULT STDMETHODCALLTYPE SetMute(BOOL bMute, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMute) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* pdwHardwareSupportMask) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolumeRange(FLOAT* pflVolumeMindB, FLOAT* pflVolumeMaxdB,
                                                   FLOAT* pflVolumeIncrementdB) = 0;
};
