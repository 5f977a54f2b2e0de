// The system's audio endpoints as the simulated notebook's provider serves them
// (root\Sim:Sim_AudioEndpoint): reading them and setting an endpoint's volume and
// mute state. Each call connects afresh, so a provider that restarted is simply
// found again. Used by the Core Audio objects of this area only.
#pragma once
#include <mmdeviceapi.h>

#include <string>
#include <vector>

namespace orv::audio {

struct EndpointInfo {
  std::u16string id;
  std::u16string name;
  DWORD state = 0;       // DEVICE_STATE_*
  bool isDefault = false;
  float volume = 0.0f;   // master volume scalar
  bool mute = false;
  UINT channels = 0;
};

// Every endpoint, there or not, the speakers first; AUDCLNT_E_SERVICE_NOT_RUNNING
// when the notebook's provider cannot be reached.
HRESULT ReadEndpoints(std::vector<EndpointInfo>* out);
// One endpoint by its ID; E_NOTFOUND for an ID that names none.
HRESULT ReadEndpoint(const std::u16string& id, EndpointInfo* out);
// The endpoint's state, or AUDCLNT_E_DEVICE_INVALIDATED when it is no longer active.
HRESULT ReadActiveEndpoint(const std::u16string& id, EndpointInfo* out);

// Sets the endpoint's master volume or mute state; every process's callbacks on
// the endpoint hear of it with the context (GUID_NULL when none is given).
// AUDCLNT_E_DEVICE_INVALIDATED when it is no longer active.
HRESULT WriteVolume(const std::u16string& id, float level, LPCGUID context);
HRESULT WriteMute(const std::u16string& id, bool mute, LPCGUID context);

// A GUID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", and back (false for other text).
std::u16string GuidText(const GUID& guid);
bool ParseGuid(const std::u16string& text, GUID* out);

}  // namespace orv::audio
