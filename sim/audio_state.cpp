// The audio lines of the state file and of the status summary. Volumes are
// written with nine significant digits, which give the same float back.
#include "sim/audio_state.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace orv::sim {
namespace {

bool ParseFlag(const std::string& s, bool* out) {
  if (s != "0" && s != "1") return false;
  *out = s == "1";
  return true;
}

bool ParseVolume(const std::string& s, float* out) {
  if (s.empty() || s.size() > 16 || s.find_first_not_of("0123456789.") != std::string::npos) return false;
  char* end = nullptr;
  float v = std::strtof(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v) || v < 0.0f || v > 1.0f) return false;
  *out = v;
  return true;
}

std::string VolumeText(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
  return buf;
}

}  // namespace

int AudioPercent(float v) { return static_cast<int>((static_cast<double>(v) + 0.005) * 100.0); }

std::uint32_t DeviceState(const AudioState& a, int endpoint) {
  if (a.endpoint[endpoint].present) return kDeviceActive;
  return endpoint == kHeadphones ? kDeviceNotPresent : kDeviceDisabled;
}

const char* AudioEndpointName(int endpoint) { return endpoint == kHeadphones ? "headphones" : "speakers"; }

void SerializeAudio(const AudioState& a, std::ostream& out) {
  for (int e = 0; e < kAudioEndpoints; ++e) {
    const std::string name = AudioEndpointName(e);
    out << name << "_volume=" << VolumeText(a.endpoint[e].volume) << "\n"
        << name << "_mute=" << (a.endpoint[e].mute ? 1 : 0) << "\n"
        << name << "_present=" << (a.endpoint[e].present ? 1 : 0) << "\n";
  }
  out << "audio_default="
      << (a.defaultEndpoint == kNoAudioDefault ? "none" : AudioEndpointName(a.defaultEndpoint)) << "\n";
}

bool ParseAudioLine(const std::string& key, const std::string& value, AudioState* a, bool* ok) {
  if (key == "audio_default") {
    *ok = true;
    if (value == "none") a->defaultEndpoint = kNoAudioDefault;
    else if (value == AudioEndpointName(kSpeakers)) a->defaultEndpoint = kSpeakers;
    else if (value == AudioEndpointName(kHeadphones)) a->defaultEndpoint = kHeadphones;
    else *ok = false;
    return true;
  }
  for (int e = 0; e < kAudioEndpoints; ++e) {
    const std::string name = AudioEndpointName(e);
    AudioEndpointState& s = a->endpoint[e];
    if (key == name + "_volume") *ok = ParseVolume(value, &s.volume);
    else if (key == name + "_mute") *ok = ParseFlag(value, &s.mute);
    else if (key == name + "_present") *ok = ParseFlag(value, &s.present);
    else continue;
    return true;
  }
  return false;
}

bool CheckAudio(const AudioState& a, std::string* why) {
  const bool any = a.endpoint[kSpeakers].present || a.endpoint[kHeadphones].present;
  if (a.defaultEndpoint == kNoAudioDefault ? any : !a.endpoint[a.defaultEndpoint].present) {
    *why = "the audio default is not an endpoint that is there";
    return false;
  }
  return true;
}

std::string DescribeAudio(const AudioState& a) {
  std::ostringstream o;
  for (int e = 0; e < kAudioEndpoints; ++e) {
    const AudioEndpointState& s = a.endpoint[e];
    const char* absent = e == kHeadphones ? "unplugged" : "disabled";
    o << (e == kSpeakers ? "Audio speakers   " : "Audio headphones ") << (s.present ? "active" : absent)
      << ", volume " << AudioPercent(s.volume) << "% (" << VolumeText(s.volume) << "), " << (s.mute ? "muted" : "not muted")
      << (a.defaultEndpoint == e ? ", default" : "") << "\n";
  }
  if (a.defaultEndpoint == kNoAudioDefault) o << "Audio            no endpoint: no default\n";
  return o.str();
}

}  // namespace orv::sim
