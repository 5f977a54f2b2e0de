// The volume callback: one WM_AUDIO_CHANGED per notification, whoever made the
// change (the event context is not looked at, so this program's own sets count).
#include "tray/audio/AudioEndpointVolumeCallback.h"

#include "tray/audio/KvVolume.h"
#include "tray/audio/volume_scale.h"
#include "tray/core/CalvexDlg.h"

HRESULT CAudioEndpointVolumeCallback::QueryInterface(REFIID riid, void** ppvObject) {
  if (!ppvObject) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IAudioEndpointVolumeCallback) {
    AddRef();
    *ppvObject = static_cast<IAudioEndpointVolumeCallback*>(this);
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG CAudioEndpointVolumeCallback::AddRef() { return static_cast<ULONG>(++m_cRef); }

ULONG CAudioEndpointVolumeCallback::Release() {
  const LONG n = --m_cRef;
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT CAudioEndpointVolumeCallback::OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA pNotify) {
  if (!pNotify) return E_INVALIDARG;
  // Sent and waited for, so the main window has handled it before Core Audio goes on.
  if (!m_pOwner->BeginNotify()) return S_OK;
  if (CCalvexDlg* main = g_pMainDlg)
    SendMessageA(main->GetSafeHwnd(), WM_AUDIO_CHANGED, pNotify->bMuted ? 1 : 0,
                 ScalarToPercent(pNotify->fMasterVolume));
  m_pOwner->EndNotify();
  return S_OK;
}
