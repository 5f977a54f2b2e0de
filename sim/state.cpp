// State file: plain "key=value" lines, parsed strictly so a damaged file is noticed
// rather than half-read.
#include "sim/state.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/fs/sim/atomic.h"

namespace orv::sim {
namespace {

bool ParseNumber(const std::string& s, std::uint64_t max, std::uint64_t* out) {
  if (s.empty() || s.size() > 10) return false;
  std::uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v > max) return false;
  *out = v;
  return true;
}

std::string Hex(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", v);
  return buf;
}

const char* OnOff(bool b) { return b ? "on" : "off"; }

}  // namespace

const char* SystemPowerName(SystemPower p) {
  switch (p) {
    case SystemPower::Asleep: return "asleep";
    case SystemPower::Hibernated: return "hibernated";
    default: return "running";
  }
}

bool EcState::operator==(const EcState& o) const {
  return device[0] == o.device[0] && device[1] == o.device[1] && system[0] == o.system[0] &&
         system[1] == o.system[1] && software == o.software && apRevision == o.apRevision &&
         aslVersion == o.aslVersion && biosVersion == o.biosVersion && biosMaker == o.biosMaker &&
         acLine == o.acLine && batteryPercent == o.batteryPercent && power == o.power && brightness == o.brightness &&
         brightnessRefused == o.brightnessRefused && audio == o.audio;
}

std::string Serialize(const EcState& s) {
  std::ostringstream o;
  o << "# simulated notebook firmware state\n"
    << "device0=" << unsigned(s.device[0]) << "\ndevice1=" << unsigned(s.device[1])
    << "\nsystem0=" << unsigned(s.system[0]) << "\nsystem1=" << unsigned(s.system[1])
    << "\nsoftware=" << unsigned(s.software) << "\nap_revision=" << s.apRevision
    << "\nasl=" << s.aslVersion << "\nbios_version=" << s.biosVersion << "\nbios_maker=" << s.biosMaker
    << "\nac=" << unsigned(s.acLine) << "\nbattery=" << unsigned(s.batteryPercent)
    << "\npower=" << SystemPowerName(s.power) << "\nbrightness=";
  for (std::size_t i = 0; i < s.brightness.size(); ++i) o << (i ? "," : "") << unsigned(s.brightness[i]);
  o << "\nbrightness_refused=" << unsigned(s.brightnessRefused) << "\n";
  SerializeAudio(s.audio, o);
  return o.str();
}

bool Parse(const std::string& text, EcState* out, std::string* error) {
  EcState s;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  auto fail = [&](const std::string& why) {
    *error = "line " + std::to_string(lineNo) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (line.empty() || line[0] == '#') continue;
    auto eq = line.find('=');
    if (eq == std::string::npos) return fail("no '=' in \"" + line + "\"");
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    std::uint64_t n = 0;
    auto byte = [&](std::uint8_t* dst) {
      if (!ParseNumber(value, 255, &n)) return false;
      *dst = static_cast<std::uint8_t>(n);
      return true;
    };
    auto word = [&](std::uint32_t* dst) {
      if (!ParseNumber(value, 0xFFFFFFFFu, &n)) return false;
      *dst = static_cast<std::uint32_t>(n);
      return true;
    };
    bool ok = true;
    if (key == "device0") ok = byte(&s.device[0]);
    else if (key == "device1") ok = byte(&s.device[1]);
    else if (key == "system0") ok = byte(&s.system[0]);
    else if (key == "system1") ok = byte(&s.system[1]);
    else if (key == "software") ok = byte(&s.software);
    else if (key == "ap_revision") ok = word(&s.apRevision);
    else if (key == "asl") ok = word(&s.aslVersion);
    else if (key == "bios_version") s.biosVersion = value;
    else if (key == "bios_maker") s.biosMaker = value;
    else if (key == "ac") ok = byte(&s.acLine) && (s.acLine <= 1 || s.acLine == kAcUnknown);
    else if (key == "battery") ok = byte(&s.batteryPercent) && s.batteryPercent <= 100;
    else if (key == "power") {
      ok = false;
      for (SystemPower p : {SystemPower::Running, SystemPower::Asleep, SystemPower::Hibernated})
        if (value == SystemPowerName(p)) s.power = p, ok = true;
    } else if (key == "brightness") {
      s.brightness.clear();
      std::istringstream list(value);
      std::string item;
      while (ok && std::getline(list, item, ',')) {
        ok = ParseNumber(item, 100, &n);
        s.brightness.push_back(static_cast<std::uint8_t>(n));
      }
      ok = ok && !s.brightness.empty() && s.brightness.size() <= 8;
    } else if (key == "brightness_refused") {
      ok = byte(&s.brightnessRefused);
    } else if (ParseAudioLine(key, value, &s.audio, &ok)) {
      // an audio line, checked as a whole below
    } else {
      return fail("unknown key \"" + key + "\"");
    }
    if (!ok) return fail("bad value \"" + value + "\" for " + key);
  }
  std::string why;
  if (!CheckAudio(s.audio, &why)) return fail(why);
  *out = s;
  return true;
}

LoadResult LoadState(const std::string& path, EcState* out, std::string* message) {
  *out = EcState();
  std::ifstream f(path, std::ios::binary);
  if (!f) return LoadResult::Missing;
  std::stringstream text;
  text << f.rdbuf();
  std::string why;
  if (Parse(text.str(), out, &why)) return LoadResult::Loaded;
  *out = EcState();
  std::string aside = path + ".damaged";
  bool kept = std::rename(path.c_str(), aside.c_str()) == 0;
  *message = "state file " + path + " is damaged (" + why + "); starting from the defaults" +
             (kept ? ", the damaged file is kept as " + aside : "");
  return LoadResult::Damaged;
}

bool SaveState(const std::string& path, const EcState& s, std::string* error) {
  // The firmware's registers are the notebook's memory, not its disk: the state
  // has to survive a killed provider, and a key press must not wait for the disk.
  return fs::WriteFileAtomic(path, Serialize(s), error, fs::Durability::kProcessKill);
}

std::string Describe(const EcState& s) {
  std::ostringstream o;
  auto d0 = s.device[0];
  auto s1 = s.system[1];
  o << "System          " << SystemPowerName(s.power) << "\n";
  o << "Orv_Device[0]   " << Hex(d0) << "  wireless " << OnOff(d0 & bits::kWireless) << ", bluetooth "
    << OnOff(d0 & bits::kBluetooth) << ", webcam " << OnOff(d0 & bits::kWebcam) << ", 3g " << OnOff(d0 & bits::k3G)
    << ", hdd power " << OnOff(d0 & bits::kHddPower) << "\n"
    << "Orv_Device[1]   " << Hex(s.device[1]) << "  hdd control " << OnOff(s.device[1] & bits::kHddControl) << "\n"
    << "Orv_System[0]   " << Hex(s.system[0]) << "  turbo " << OnOff(s.system[0] & bits::kTurbo) << "\n"
    << "Orv_System[1]   " << Hex(s1) << "  eco " << OnOff(s1 & bits::kEco) << ", touchpad "
    << ((s1 & bits::kTouchpadOff) ? "disabled" : "enabled") << ", theater " << OnOff(s1 & bits::kTheater) << "\n"
    << "Orv_Software[0] " << unsigned(s.software) << "  utility " << (s.software == 1 ? "registered" : "not registered")
    << "\n"
    << "Orv_AP          revision " << s.apRevision << ", ASL version " << s.aslVersion
    << (s.aslVersion > 16 ? " (events carry the state byte)" : " (events carry no state byte)") << "\n"
    << "Win32_BIOS      version \"" << s.biosVersion << "\", manufacturer \"" << s.biosMaker << "\"\n"
    << "Power           AC "
    << (s.acLine == kAcOnline ? "online" : s.acLine == kAcOffline ? "offline" : "unknown") << " ("
    << unsigned(s.acLine) << "), battery " << unsigned(s.batteryPercent) << "%\n"
    << "Brightness     ";
  for (std::size_t i = 0; i < s.brightness.size(); ++i) {
    o << " monitor " << i << ": " << unsigned(s.brightness[i]) << "%";
    if (s.brightnessRefused & (1u << i)) o << " (refuses to be set)";
  }
  o << "\n" << DescribeAudio(s.audio);
  return o.str();
}

}  // namespace orv::sim
