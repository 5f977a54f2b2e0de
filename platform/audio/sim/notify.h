// The process's audio notifications: the registered IMMNotificationClient and
// IAudioEndpointVolumeCallback interfaces, and the one subscription to the
// notebook's audio events (root\Sim:Sim_AudioEvent) that feeds them. Each event
// is delivered on the subscription's thread to the interfaces registered when it
// arrives, one call at a time. Unregistering waits for a call that is being made
// to the interface on another thread, so that the interface may go afterwards.
#pragma once
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <string>

namespace orv::audio {

// Neither adds nor releases a reference (as IMMDeviceEnumerator's registration).
HRESULT AddClient(IMMNotificationClient* client);
// E_NOTFOUND when the client is not registered.
HRESULT RemoveClient(IMMNotificationClient* client);

// The callback hears of the volume and mute changes of the endpoint `id`; the
// registration holds a reference to it, which removing it releases.
HRESULT AddVolumeCallback(const std::u16string& id, IAudioEndpointVolumeCallback* callback);
// E_NOTFOUND when the callback is not registered on the endpoint.
HRESULT RemoveVolumeCallback(const std::u16string& id, IAudioEndpointVolumeCallback* callback);

}  // namespace orv::audio
