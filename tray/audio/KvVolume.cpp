// The volume object: the default endpoint's level and mute state, the watch with
// its endpoint switch, and a teardown that never waits on the main window.
#include "tray/audio/KvVolume.h"

#include <windows.h>

#include <utility>

#include "tray/audio/AudioEndpointVolumeCallback.h"
#include "tray/audio/MMNotificationClient.h"
#include "tray/audio/volume_scale.h"
#include "tray/core/CalvexDlg.h"

CKvVolume::CKvVolume() {
  m_pVolumeCallback = std::make_unique<CAudioEndpointVolumeCallback>(this);
  // The UI thread is a single-threaded apartment already (the main window's
  // firmware object made it one), so this is refused and changes nothing; on a
  // thread it does enter, the destructor leaves it again.
  m_hrCom = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (FAILED(CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_ALL, IID_IMMDeviceEnumerator,
                              m_pEnumerator.put_void())))
    return;  // no Core Audio: no watch, and the getters answer as without an endpoint
  orv::com_ptr<IMMDevice> endpoint;
  if (SUCCEEDED(m_pEnumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, endpoint.put()))) {
    m_pEndpoint = endpoint;
    Attach(m_pEndpoint.get());
  }
  m_pNotificationClient = std::make_unique<CMMNotificationClient>(this);
  m_pEnumerator->RegisterEndpointNotificationCallback(m_pNotificationClient.get());
}

CKvVolume::~CKvVolume() {
  StopNotifying();
  if (m_pEnumerator && m_pNotificationClient)
    m_pEnumerator->UnregisterEndpointNotificationCallback(m_pNotificationClient.get());
  Detach();
  m_pEndpoint.reset();
  m_pVolumeCallback.reset();
  m_pNotificationClient.reset();
  m_pEnumerator.reset();
  if (SUCCEEDED(m_hrCom)) CoUninitialize();
}

bool CKvVolume::BeginNotify() {
  // Counted before the check: the destructor, which sets the flag and then waits
  // for the count, either sees this call or this call sees the flag.
  ++m_nNotifying;
  if (!m_bClosing) return true;
  --m_nNotifying;
  return false;
}

void CKvVolume::EndNotify() { --m_nNotifying; }

void CKvVolume::StopNotifying() {
  m_bClosing = true;
  // A Core Audio thread may be waiting in SendMessage for this very thread, which
  // is about to wait for that thread in the unregistration: handle what is sent
  // here until no notification is on its way any more.
  while (m_nNotifying > 0) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    Sleep(1);
  }
}

void CKvVolume::Attach(IMMDevice* endpoint) {
  if (!endpoint) return;
  orv::com_ptr<IAudioEndpointVolume> volume;
  if (FAILED(endpoint->Activate(IID_IAudioEndpointVolume, CLSCTX_ALL, nullptr, volume.put_void()))) return;
  if (SUCCEEDED(volume->RegisterControlChangeNotify(m_pVolumeCallback.get()))) m_pEndpointVolume = volume;
  float scalar = 0.0f;
  BOOL mute = FALSE;
  // A level or state that cannot be read leaves the main window's as it was.
  const bool haveLevel = SUCCEEDED(volume->GetMasterVolumeLevelScalar(&scalar));
  const bool haveMute = SUCCEEDED(volume->GetMute(&mute));
  if (CCalvexDlg* main = g_pMainDlg) {
    if (haveLevel) main->m_nVolume = ScalarToPercent(scalar);
    if (haveMute) main->m_bMute = mute != FALSE;
  }
}

void CKvVolume::Detach() {
  // On the interface the registration was made on: activating the endpoint again
  // fails once it has been unplugged or disabled, and the registration (with its
  // reference to the callback) would outlive the watch.
  if (auto volume = std::move(m_pEndpointVolume)) volume->UnregisterControlChangeNotify(m_pVolumeCallback.get());
}

void CKvVolume::SwitchEndpoint(IMMDevice* endpoint) {
  orv::com_ptr<IMMDevice> next = orv::com_ptr<IMMDevice>::attach(endpoint);
  Detach();
  m_pEndpoint.reset();
  if (!next && m_pEnumerator) m_pEnumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, next.put());
  m_pEndpoint = next;
  Attach(m_pEndpoint.get());
}

orv::com_ptr<IAudioEndpointVolume> CKvVolume::DefaultVolume() {
  orv::com_ptr<IMMDevice> endpoint;
  orv::com_ptr<IAudioEndpointVolume> volume;
  if (m_pEnumerator && SUCCEEDED(m_pEnumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, endpoint.put())))
    endpoint->Activate(IID_IAudioEndpointVolume, CLSCTX_ALL, nullptr, volume.put_void());
  return volume;
}

int CKvVolume::GetVolume() {
  float scalar = 0.0f;
  auto volume = DefaultVolume();
  if (volume && SUCCEEDED(volume->GetMasterVolumeLevelScalar(&scalar))) return ScalarToPercent(scalar);
  return g_pMainDlg ? g_pMainDlg->m_nVolume.load() : 0;
}

void CKvVolume::SetVolume(int percent) {
  if (auto volume = DefaultVolume()) volume->SetMasterVolumeLevelScalar(PercentToScalar(percent), nullptr);
}

bool CKvVolume::GetMute() {
  BOOL mute = FALSE;
  auto volume = DefaultVolume();
  return volume && SUCCEEDED(volume->GetMute(&mute)) && mute != FALSE;
}
