// What the notebook's sound devices do: volume and mute sets, the volume keys,
// plugging the headphones, disabling the speakers and choosing the default, each
// reported as the system reports it to every process that listens.
#include <algorithm>
#include <cmath>

#include "sim/firmware.h"

namespace orv::sim {
namespace {

constexpr int kRoles = 3;  // eConsole, eMultimedia, eCommunications: one endpoint serves them all

}  // namespace

void Firmware::RaiseAudio(const AudioNote& note) {
  Event e;
  e.kind = Event::Audio;
  e.audio = note;
  events_.push_back(std::move(e));
}

void Firmware::VolumeChanged(int endpoint, const std::string& context) {
  AudioNote n;
  n.change = AudioNote::Volume;
  n.endpoint = endpoint;
  n.volume = state_.audio.endpoint[endpoint].volume;
  n.mute = state_.audio.endpoint[endpoint].mute;
  n.context = context;
  RaiseAudio(n);
}

bool Firmware::SetVolume(int endpoint, float level, const std::string& context) {
  if (endpoint < 0 || endpoint >= kAudioEndpoints || !state_.audio.endpoint[endpoint].present) return false;
  if (!std::isfinite(level) || level < 0.0f || level > 1.0f) return false;
  state_.audio.endpoint[endpoint].volume = level;
  VolumeChanged(endpoint, context);
  return true;
}

bool Firmware::SetMute(int endpoint, bool mute, const std::string& context) {
  if (endpoint < 0 || endpoint >= kAudioEndpoints || !state_.audio.endpoint[endpoint].present) return false;
  state_.audio.endpoint[endpoint].mute = mute;
  VolumeChanged(endpoint, context);
  return true;
}

bool Firmware::SetDefaultVolume(float level) {
  return state_.audio.defaultEndpoint != kNoAudioDefault && SetVolume(state_.audio.defaultEndpoint, level, {});
}

bool Firmware::SetDefaultMute(bool mute) {
  return state_.audio.defaultEndpoint != kNoAudioDefault && SetMute(state_.audio.defaultEndpoint, mute, {});
}

void Firmware::StepVolume(int percent) {
  const int endpoint = state_.audio.defaultEndpoint;
  if (endpoint == kNoAudioDefault) return;
  // The keys move on the grid of whole percents, so steps never drift.
  const int now = AudioPercent(state_.audio.endpoint[endpoint].volume);
  const int next = std::clamp(now + percent, 0, 100);
  if (next == now) return;
  SetVolume(endpoint, static_cast<float>(next / 100.0), {});
}

void Firmware::ToggleMute() {
  const int endpoint = state_.audio.defaultEndpoint;
  if (endpoint != kNoAudioDefault) SetMute(endpoint, !state_.audio.endpoint[endpoint].mute, {});
}

void Firmware::EndpointChanged(int endpoint) {
  AudioState& a = state_.audio;
  const bool present = a.endpoint[endpoint].present;
  AudioNote state;
  state.change = AudioNote::State;
  state.endpoint = endpoint;
  state.state = DeviceState(a, endpoint);
  RaiseAudio(state);
  AudioNote presence;
  presence.change = present ? AudioNote::Added : AudioNote::Removed;
  presence.endpoint = endpoint;
  RaiseAudio(presence);
  // A default that went away passes to the other endpoint, if it is there; a
  // device that comes while there is no default becomes it.
  const int other = endpoint == kSpeakers ? kHeadphones : kSpeakers;
  int next = a.defaultEndpoint;
  if (!present && a.defaultEndpoint == endpoint) next = a.endpoint[other].present ? other : kNoAudioDefault;
  if (present && a.defaultEndpoint == kNoAudioDefault) next = endpoint;
  if (next != a.defaultEndpoint) DefaultChanged(next);
}

void Firmware::DefaultChanged(int endpoint) {
  state_.audio.defaultEndpoint = static_cast<std::uint8_t>(endpoint);
  for (int role = 0; role < kRoles; ++role) {
    AudioNote d;
    d.change = AudioNote::Default;
    d.endpoint = endpoint;
    d.role = role;
    RaiseAudio(d);
  }
}

bool Firmware::PlugHeadphones(bool plugged) {
  if (state_.audio.endpoint[kHeadphones].present == plugged) return false;
  state_.audio.endpoint[kHeadphones].present = plugged;
  EndpointChanged(kHeadphones);
  return true;
}

bool Firmware::EnableSpeakers(bool enabled) {
  if (state_.audio.endpoint[kSpeakers].present == enabled) return false;
  state_.audio.endpoint[kSpeakers].present = enabled;
  EndpointChanged(kSpeakers);
  return true;
}

bool Firmware::MakeDefault(int endpoint) {
  AudioState& a = state_.audio;
  if (endpoint < 0 || endpoint >= kAudioEndpoints || !a.endpoint[endpoint].present || a.defaultEndpoint == endpoint)
    return false;
  DefaultChanged(endpoint);
  return true;
}

}  // namespace orv::sim
