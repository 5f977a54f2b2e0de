// The volume and audio commands of the control program: what the sound settings
// and the headphone jack do to the notebook's audio endpoints.
#include "sim/control.h"

namespace orv::sim {
namespace {

// The endpoint a command names; -1 for another word.
int EndpointNamed(const std::string& word) {
  for (int e = 0; e < kAudioEndpoints; ++e)
    if (word == AudioEndpointName(e)) return e;
  return -1;
}

std::string Level(const AudioState& a) {
  const int e = a.defaultEndpoint;
  return std::string(AudioEndpointName(e)) + " volume " + std::to_string(AudioPercent(a.endpoint[e].volume)) + "%" +
         (a.endpoint[e].mute ? ", muted\n" : "\n");
}

const char kNoEndpoint[] = "no audio endpoint is there: nothing changed\n";

}  // namespace

bool ParseAudioControl(const std::vector<std::string>& w, Action* action, std::string* error) {
  auto bad = [&](const std::string& why) {
    *error = why;
    return false;
  };
  if (w.size() != 3) return bad("unknown command or wrong arguments: \"" + w[0] + "\"");
  const std::string &verb = w[0], &what = w[1], &arg = w[2];
  if (verb == "volume" && what == "set") {
    int p = 0;
    if (!ParsePercent(arg, &p)) return bad("volume set takes a percentage 0..100");
    *action = [p](Firmware& f) -> ControlReply {
      if (!f.SetDefaultVolume(static_cast<float>(p / 100.0))) return ControlReply::Failed(kNoEndpoint);
      return Level(f.State().audio);
    };
  } else if (verb == "volume" && what == "mute" && (arg == "on" || arg == "off")) {
    const bool on = arg == "on";
    *action = [on](Firmware& f) -> ControlReply {
      if (!f.SetDefaultMute(on)) return ControlReply::Failed(kNoEndpoint);
      return Level(f.State().audio);
    };
  } else if (verb == "audio" && (what == "plug" || what == "unplug") && arg == "headphones") {
    const bool plug = what == "plug";
    *action = [plug](Firmware& f) -> ControlReply {
      if (!f.PlugHeadphones(plug)) return std::string(plug ? "headphones already plugged in\n" : "no headphones in\n");
      return std::string(plug ? "headphones plugged in\n" : "headphones unplugged\n");
    };
  } else if (verb == "audio" && (what == "enable" || what == "disable") && arg == "speakers") {
    const bool enable = what == "enable";
    *action = [enable](Firmware& f) -> ControlReply {
      if (!f.EnableSpeakers(enable)) return std::string(enable ? "speakers already enabled\n" : "speakers already disabled\n");
      return std::string(enable ? "speakers enabled\n" : "speakers disabled\n");
    };
  } else if (verb == "audio" && what == "default" && EndpointNamed(arg) >= 0) {
    const int endpoint = EndpointNamed(arg);
    *action = [endpoint](Firmware& f) -> ControlReply {
      const std::string name = AudioEndpointName(endpoint);
      if (f.State().audio.defaultEndpoint == endpoint) return name + " already the default\n";
      if (!f.MakeDefault(endpoint)) return ControlReply::Failed(name + " not there: the default stays\n");
      return name + " now the default\n";
    };
  } else {
    return bad("unknown " + verb + " command or wrong arguments: \"" + what + " " + arg + "\"");
  }
  return true;
}

}  // namespace orv::sim
