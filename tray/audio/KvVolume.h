// CKvVolume: the default audio endpoint's volume for the main window. It reads
// and sets the master volume and mute state, and watches one endpoint: every
// volume or mute change reaches the main window as WM_AUDIO_CHANGED (sent by the
// volume callback), and device arrivals, removals and new defaults move the
// watch (through the notification client).
#pragma once
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <atomic>
#include <memory>

#include "platform/base/unique_com.h"

class CAudioEndpointVolumeCallback;
class CMMNotificationClient;

class CKvVolume {
 public:
  // Watches the default render endpoint and writes its level and mute state into
  // the main window (g_pMainDlg, set before); inert without Core Audio.
  CKvVolume();
  // Unregisters both notification objects and deletes them; volume changes that
  // are on their way to the main window meanwhile are answered, never waited on.
  virtual ~CKvVolume();
  CKvVolume(const CKvVolume&) = delete;
  CKvVolume& operator=(const CKvVolume&) = delete;

  // The default endpoint's level in percent; without one, the last level known
  // (the main window's m_nVolume), so a caller that stores it keeps what it had.
  int GetVolume();
  // Sets the default endpoint's level (percent / 100.0, not clamped); nothing
  // without one.
  void SetVolume(int percent);
  // False without a default endpoint.
  bool GetMute();

  // The watch moves: to the endpoint given (this takes over the caller's
  // reference) or, with none, to the default render endpoint fetched now.
  // Called by the notification client, on a Core Audio thread.
  void SwitchEndpoint(IMMDevice* endpoint);

  // The volume callback's passage to the main window: Begin is false once the
  // object is closing (then nothing may be sent); End closes a true Begin.
  bool BeginNotify();
  void EndNotify();

 private:
  void Attach(IMMDevice* endpoint);
  // Takes the volume callback off the endpoint volume it was registered on.
  void Detach();
  // The default render endpoint's volume interface, or none.
  orv::com_ptr<IAudioEndpointVolume> DefaultVolume();
  // Lets volume messages already on their way be handled, and no more be sent.
  void StopNotifying();

  orv::com_ptr<IMMDevice> m_pEndpoint;               // tracked endpoint
  // The tracked endpoint's volume that holds the callback's registration: kept,
  // since an endpoint that has gone can no longer be activated to unregister.
  orv::com_ptr<IAudioEndpointVolume> m_pEndpointVolume;
  orv::com_ptr<IMMDeviceEnumerator> m_pEnumerator;
  // Owned whatever their reference counts: deleted after both are unregistered.
  std::unique_ptr<CAudioEndpointVolumeCallback> m_pVolumeCallback;
  std::unique_ptr<CMMNotificationClient> m_pNotificationClient;
  HRESULT m_hrCom = E_FAIL;  // this object's COM initialisation of the UI thread
  std::atomic<bool> m_bClosing{false};
  std::atomic<int> m_nNotifying{0};
};
