// The notebook's sound devices as the simulated notebook keeps them: two render
// endpoints (the built-in speakers and a headphone jack), each with its master
// volume and mute state and whether it is there, and which one is the default;
// with their lines in the state file and in the status summary.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>

namespace orv::sim {

constexpr int kSpeakers = 0, kHeadphones = 1, kAudioEndpoints = 2;
// The default when no endpoint is there.
constexpr std::uint8_t kNoAudioDefault = 255;

struct AudioEndpointState {
  float volume = 0.5f;   // master volume scalar 0.0..1.0
  bool mute = false;
  bool present = true;   // the speakers: enabled; the headphones: plugged in
  bool operator==(const AudioEndpointState& o) const {
    return volume == o.volume && mute == o.mute && present == o.present;
  }
};

struct AudioState {
  AudioEndpointState endpoint[kAudioEndpoints] = {{0.5f, false, true}, {0.5f, false, false}};
  std::uint8_t defaultEndpoint = kSpeakers;  // always a present endpoint, or kNoAudioDefault
  bool operator==(const AudioState& o) const {
    return endpoint[0] == o.endpoint[0] && endpoint[1] == o.endpoint[1] && defaultEndpoint == o.defaultEndpoint;
  }
};

// The percent a person reads off the volume control (nearest, halves up).
int AudioPercent(float volume);

// The device state the system gives an endpoint (DEVICE_STATE_ACTIVE; the speakers
// DEVICE_STATE_DISABLED and the headphones DEVICE_STATE_NOTPRESENT when not there).
constexpr std::uint32_t kDeviceActive = 0x1, kDeviceDisabled = 0x2, kDeviceNotPresent = 0x4;
std::uint32_t DeviceState(const AudioState& a, int endpoint);

// "speakers" or "headphones", as the control commands and the summary name them.
const char* AudioEndpointName(int endpoint);

// The audio lines of the state file ("key=value\n" each).
void SerializeAudio(const AudioState& a, std::ostream& out);
// True when key is an audio line's key; *ok then tells whether its value was good.
bool ParseAudioLine(const std::string& key, const std::string& value, AudioState* a, bool* ok);
// False (with the reason) for a state no notebook can be in: a default that is not
// there, or none while an endpoint is there.
bool CheckAudio(const AudioState& a, std::string* why);

// The summary lines: each endpoint's state, level and mute, and the default.
std::string DescribeAudio(const AudioState& a);

}  // namespace orv::sim
