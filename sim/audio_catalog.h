// The notebook's sound devices as WMI sees them, in the simulation's own namespace
// root\Sim: Sim_AudioEndpoint (one instance per endpoint, there or not, with the
// methods SetMasterVolume and SetMute) and the event class Sim_AudioEvent, which
// tells every subscriber of each change. The platform's Core Audio reads them.
//
// A volume travels as the bits of its float (VolumeBits, uint32), so that every
// process sees exactly the level that was set.
#pragma once
#include <string>
#include <vector>

#include "platform/wmi/sim/wire.h"
#include "sim/firmware.h"

namespace orv::sim {

constexpr char kAudioEndpointClass[] = "Sim_AudioEndpoint";
constexpr char kAudioEventClass[] = "Sim_AudioEvent";

// The endpoint ID strings, as Core Audio hands them out: "{0.0.0.00000000}.{guid}".
std::string AudioEndpointId(int endpoint);

// Both endpoints, the speakers first: DeviceId (key), FriendlyName, State,
// IsDefault, VolumeBits, Mute and Channels.
std::vector<wmi::wire::Object> AudioEndpoints(const char* ns, const AudioState& a);

// SetMasterVolume(VolumeBits, Context) or SetMute(Mute, Context) on an endpoint:
// AUDCLNT_E_DEVICE_INVALIDATED when it is not there, E_INVALIDARG for a level
// outside 0.0..1.0.
HRESULT AudioMethod(Firmware& fw, int endpoint, const std::string& method, const wmi::wire::Object* in);

// The event object of a note: Change, DeviceId (empty for none), State,
// VolumeBits, Mute, Context and Role.
wmi::wire::Object AudioEventObject(const char* ns, const AudioNote& note);

}  // namespace orv::sim
