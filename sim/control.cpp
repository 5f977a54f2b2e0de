// Parsing of the control commands into firmware actions.
#include "sim/control.h"

#include <algorithm>

#include "platform/power/sim/scheme_store.h"

namespace orv::sim {
namespace {

bool ParseUnsigned(const std::string& s, std::uint64_t max, std::uint64_t* out) {
  std::size_t i = 0;
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) { base = 16; i = 2; }
  if (i >= s.size() || s.size() - i > 16) return false;
  std::uint64_t v = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    int d = (c >= '0' && c <= '9') ? c - '0'
            : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
    if (d < 0) return false;
    v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (v > max) return false;
  }
  *out = v;
  return true;
}

// Keys and sensors raise nothing while the notebook sleeps or hibernates.
ControlReply NotRunning(const Firmware& f) {
  return ControlReply::Failed(std::string("the notebook is ") + SystemPowerName(f.State().power) + " (orv-sim wake)\n");
}

bool IsOnOff(const std::string& s) { return s == "on" || s == "off"; }

std::string KeyList() {
  std::string out;
  for (auto& k : Firmware::KeyNames()) out += (out.empty() ? "" : ", ") + k;
  return out;
}

}  // namespace

bool ParsePercent(const std::string& s, int* out) {
  std::uint64_t n = 0;
  if (s.rfind("0x", 0) == 0 || s.rfind("0X", 0) == 0 || !ParseUnsigned(s, 100, &n)) return false;
  *out = static_cast<int>(n);
  return true;
}

std::string ControlUsage() {
  return "usage: orv-sim COMMAND\n"
         "  start                      start the firmware provider (does nothing if it runs)\n"
         "  stop                       stop it\n"
         "  status                     print the whole firmware state\n"
         "  press KEY                  press a function key: " + KeyList() + "\n"
         "  radio on|off               the radio switch (every radio)\n"
         "  thermal s4-stage1|s4-stage2|s3   raise an overheat alarm\n"
         "  sleep | hibernate          the notebook goes to sleep or into hibernation\n"
         "  wake                       it runs again (the power button)\n"
         "  ac plug|unplug|unknown     the AC adaptor\n"
         "  battery PERCENT            battery charge 0..100\n"
         "  brightness set PERCENT     panel brightness 0..100\n"
         "  brightness refuse N on|off monitor N's driver fails every set (off: works again)\n"
         "  volume set PERCENT         master volume of the default audio endpoint 0..100\n"
         "  volume mute on|off         its mute state\n"
         "  audio plug|unplug headphones     the headphone jack (its endpoint comes and goes)\n"
         "  audio enable|disable speakers    the built-in speakers\n"
         "  audio default speakers|headphones   the default audio endpoint\n"
         "  set asl N                  firmware ASL version (above 16: events carry the state)\n"
         "  set bios VERSION [MAKER]   BIOS version text and manufacturer\n"
         "  set monitors N             number of monitors 1..8\n"
         "  set hddcontrol on|off      whether the machine has the switchable disk\n"
         "  raw event VALUE            raise Orv_Event with this value (decimal or 0x hex)\n";
}

bool ParseControl(const std::vector<std::string>& w, Action* action, std::string* error) {
  auto bad = [&](const std::string& why) {
    *error = why;
    return false;
  };
  auto args = [&](std::size_t n) { return w.size() == n; };
  if (w.empty()) return bad("no command given");
  const std::string& verb = w[0];
  std::uint64_t n = 0;
  if (verb == "status" && args(1)) {
    *action = [](Firmware& f) {
      // The system's power schemes are the operating system's, beside the firmware's state.
      std::string schemes;
      power::WithSchemeStore(false, [&](power::SchemeStore& store) -> DWORD {
        schemes = power::DescribeSchemes(store);
        return ERROR_SUCCESS;
      });
      return Describe(f.State()) + schemes;
    };
  } else if ((verb == "sleep" || verb == "hibernate") && args(1)) {
    const bool hibernate = verb == "hibernate";
    *action = [hibernate](Firmware& f) -> ControlReply {
      if (!f.Suspend(hibernate))
        return ControlReply::Failed(std::string("the notebook is ") + SystemPowerName(f.State().power) + " already\n");
      return std::string(hibernate ? "hibernated\n" : "asleep\n");
    };
  } else if (verb == "wake" && args(1)) {
    *action = [](Firmware& f) -> ControlReply {
      if (!f.Wake()) return ControlReply::Failed("the notebook is running already\n");
      return std::string("running\n");
    };
  } else if (verb == "press" && args(2)) {
    auto names = Firmware::KeyNames();
    if (std::find(names.begin(), names.end(), w[1]) == names.end())
      return bad("unknown key \"" + w[1] + "\"; keys: " + KeyList());
    std::string key = w[1];
    *action = [key](Firmware& f) -> ControlReply {
      if (!f.Running()) return NotRunning(f);
      f.Press(key);
      return "pressed " + key + "\n";
    };
  } else if (verb == "radio" && args(2) && (w[1] == "on" || w[1] == "off")) {
    bool on = w[1] == "on";
    *action = [on](Firmware& f) { f.RadioSwitch(on); return std::string(on ? "radios on\n" : "radios off\n"); };
  } else if (verb == "thermal" && args(2)) {
    std::uint8_t c;
    if (w[1] == "s4-stage1") c = code::kS4Stage1;
    else if (w[1] == "s4-stage2") c = code::kS4Stage2;
    else if (w[1] == "s3") c = code::kS3;
    else return bad("unknown thermal stage \"" + w[1] + "\"; stages: s4-stage1, s4-stage2, s3");
    *action = [c](Firmware& f) -> ControlReply {
      if (!f.Running()) return NotRunning(f);
      f.Thermal(c);
      return std::string("overheat alarm raised\n");
    };
  } else if (verb == "ac" && args(2)) {
    std::uint8_t s;
    if (w[1] == "plug") s = kAcOnline;
    else if (w[1] == "unplug") s = kAcOffline;
    else if (w[1] == "unknown") s = kAcUnknown;
    else return bad("ac takes plug, unplug or unknown");
    *action = [s](Firmware& f) { f.AcLine(s); return std::string("AC line status ") + std::to_string(s) + "\n"; };
  } else if (verb == "battery" && args(2)) {
    if (!ParseUnsigned(w[1], 100, &n)) return bad("battery takes a percentage 0..100");
    int p = static_cast<int>(n);
    *action = [p](Firmware& f) { f.SetBattery(p); return "battery " + std::to_string(p) + "%\n"; };
  } else if (verb == "brightness" && args(3) && w[1] == "set") {
    int p = 0;
    if (!ParsePercent(w[2], &p)) return bad("brightness set takes a percentage 0..100");
    *action = [p](Firmware& f) { f.SetPanelBrightness(p); return "brightness " + std::to_string(p) + "%\n"; };
  } else if (verb == "brightness" && args(4) && w[1] == "refuse" && IsOnOff(w[3])) {
    if (!ParseUnsigned(w[2], kMaxMonitors - 1, &n)) return bad("brightness refuse takes a monitor number 0..7");
    auto monitor = static_cast<std::size_t>(n);
    bool on = w[3] == "on";
    *action = [monitor, on](Firmware& f) {
      f.SetBrightnessRefused(monitor, on);
      return "monitor " + std::to_string(monitor) + (on ? " refuses brightness sets\n" : " takes brightness sets\n");
    };
  } else if (verb == "volume" || verb == "audio") {
    return ParseAudioControl(w, action, error);
  } else if (verb == "set" && w.size() >= 3) {
    const std::string& what = w[1];
    if (what == "asl" && args(3)) {
      if (!ParseUnsigned(w[2], 0xFFFFFFFFu, &n)) return bad("set asl takes a number");
      auto v = static_cast<std::uint32_t>(n);
      *action = [v](Firmware& f) { f.SetAsl(v); return "ASL version " + std::to_string(v) + "\n"; };
    } else if (what == "bios" && (args(3) || args(4))) {
      if (w[2].empty() || w[2].find('\n') != std::string::npos || (args(4) && w[3].find('\n') != std::string::npos))
        return bad("set bios takes a one-line version text");
      std::string version = w[2];
      bool hasMaker = args(4);
      std::string maker = hasMaker ? w[3] : std::string();
      *action = [version, hasMaker, maker](Firmware& f) {
        f.SetBios(version, hasMaker ? &maker : nullptr);
        return "BIOS \"" + f.State().biosVersion + "\" by \"" + f.State().biosMaker + "\"\n";
      };
    } else if (what == "monitors" && args(3)) {
      if (!ParseUnsigned(w[2], kMaxMonitors, &n) || n == 0) return bad("set monitors takes a number 1..8");
      auto c = static_cast<std::size_t>(n);
      *action = [c](Firmware& f) { f.SetMonitors(c); return std::to_string(c) + " monitor(s)\n"; };
    } else if (what == "hddcontrol" && args(3) && (w[2] == "on" || w[2] == "off")) {
      bool on = w[2] == "on";
      *action = [on](Firmware& f) { f.SetHddControl(on); return std::string("hdd control ") + (on ? "on\n" : "off\n"); };
    } else {
      return bad("unknown setting \"" + what + "\" or wrong arguments");
    }
  } else if (verb == "raw" && args(3) && w[1] == "event") {
    if (!ParseUnsigned(w[2], 0xFFFFFFFFu, &n)) return bad("raw event takes a 32-bit value (decimal or 0x hex)");
    auto v = static_cast<std::uint32_t>(n);
    *action = [v](Firmware& f) { f.RawEvent(v); return "event " + std::to_string(v) + " raised\n"; };
  } else {
    return bad("unknown command or wrong arguments: \"" + verb + "\"");
  }
  return true;
}

}  // namespace orv::sim
