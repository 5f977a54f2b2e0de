// CAudioEndpointVolumeCallback: turns every volume or mute notification of the
// watched endpoint into WM_AUDIO_CHANGED, sent to the main window (wParam the
// mute flag, lParam the level in percent).
#pragma once
#include <endpointvolume.h>

#include <atomic>

class CKvVolume;

class CAudioEndpointVolumeCallback : public IAudioEndpointVolumeCallback {
 public:
  explicit CAudioEndpointVolumeCallback(CKvVolume* owner) : m_pOwner(owner) {}
  // Deleted by its owner, whatever the count (the owner unregisters it first).
  virtual ~CAudioEndpointVolumeCallback() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA pNotify) override;

 private:
  CKvVolume* m_pOwner;
  std::atomic<LONG> m_cRef{1};  // the owner's
};
