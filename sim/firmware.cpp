// Key, switch and sensor behaviour of the simulated firmware.
#include "sim/firmware.h"

#include <algorithm>

namespace orv::sim {
namespace {

struct Key {
  const char* name;
  std::uint8_t code;
};

// Keys whose flag belongs to the utility, not the firmware: only the event is raised.
const Key kPlainKeys[] = {
    {"eco", code::kEco},           {"theater", code::kTheater},         {"userdefine", code::kUserDefine},
    {"hddkey", code::kHddKey},     {"volume-mute", code::kVolumeMute},  {"volume-down", code::kVolumeDown},
    {"volume-up", code::kVolumeUp},
};

}  // namespace

void Firmware::Raise(std::uint8_t code, std::uint8_t stateByte) {
  std::uint32_t value = code;
  if (state_.aslVersion > 16) value |= static_cast<std::uint32_t>(stateByte) << 8;
  events_.push_back({Event::Firmware, value, 0, {}});
}

void Firmware::ToggleDevice(std::uint8_t bit, std::uint8_t code) {
  state_.device[0] ^= bit;
  Raise(code, state_.device[0]);
}

void Firmware::ToggleTurbo() {
  // Turbo needs the adaptor: on battery the key leaves it off.
  if ((state_.system[0] & bits::kTurbo) || state_.acLine == kAcOnline) state_.system[0] ^= bits::kTurbo;
  Raise(code::kTurbo, state_.system[0]);
}

std::vector<std::string> Firmware::KeyNames() {
  std::vector<std::string> names = {"wireless", "bluetooth", "webcam", "touchpad", "3g", "turbo",
                                    "brightness-up", "brightness-down"};
  for (auto& k : kPlainKeys) names.push_back(k.name);
  return names;
}

bool Firmware::Press(const std::string& key) {
  if (key == "wireless") ToggleDevice(bits::kWireless, code::kWireless);
  else if (key == "bluetooth") ToggleDevice(bits::kBluetooth, code::kBluetooth);
  else if (key == "webcam") ToggleDevice(bits::kWebcam, code::kWebcam);
  else if (key == "3g") ToggleDevice(bits::k3G, code::k3G);
  else if (key == "touchpad") {
    state_.system[1] ^= bits::kTouchpadOff;
    Raise(code::kTouchpad, state_.system[1]);
  } else if (key == "turbo") {
    ToggleTurbo();
  } else if (key == "brightness-up" || key == "brightness-down") {
    bool up = key == "brightness-up";
    Raise(up ? code::kBrightnessUp : code::kBrightnessDown, 0);
    StepBrightness(up);
  } else {
    auto it = std::find_if(std::begin(kPlainKeys), std::end(kPlainKeys), [&](const Key& k) { return key == k.name; });
    if (it == std::end(kPlainKeys)) return false;
    // The state byte shows the register that holds the key's flag.
    std::uint8_t stateByte = 0;
    if (it->code == code::kEco || it->code == code::kTheater) stateByte = state_.system[1];
    if (it->code == code::kHddKey) stateByte = state_.device[0];
    Raise(it->code, stateByte);
    // The system acts on the volume keys as well: the default endpoint follows.
    if (it->code == code::kVolumeUp) StepVolume(kVolumeStep);
    if (it->code == code::kVolumeDown) StepVolume(-kVolumeStep);
    if (it->code == code::kVolumeMute) ToggleMute();
  }
  return true;
}

void Firmware::StepBrightness(bool up) {
  // The keys move the panel within its range and never the other way: from below
  // the range, up goes to its bottom and down stays. At an end nothing changes,
  // and nothing is reported.
  const int now = state_.brightness[0];
  int next = up ? std::min(kBrightnessKeyMax, std::max(kBrightnessKeyMin, now + kBrightnessStep))
                : std::max(kBrightnessKeyMin, now - kBrightnessStep);
  if (!up && now < kBrightnessKeyMin) next = now;
  if (up && now > kBrightnessKeyMax) next = now;
  if (next != now) SetMonitorBrightness(0, next);
}

void Firmware::RadioSwitch(bool on) {
  const std::pair<std::uint8_t, std::uint8_t> radios[] = {
      {bits::kWireless, code::kWireless}, {bits::kBluetooth, code::kBluetooth}, {bits::k3G, code::k3G}};
  for (auto& [bit, c] : radios) {
    state_.device[0] = on ? (state_.device[0] | bit) : (state_.device[0] & ~bit);
    Raise(c, state_.device[0]);
  }
}

void Firmware::Thermal(std::uint8_t c) { Raise(c, 0); }

void Firmware::AcLine(std::uint8_t status) {
  if (status == state_.acLine) return;
  state_.acLine = status;
  // Turbo is not kept on battery; the firmware drops it without a key event.
  if (status != kAcOnline) state_.system[0] &= static_cast<std::uint8_t>(~bits::kTurbo);
  events_.push_back({Event::Power, status, 0, {}});
}

bool Firmware::Suspend(bool hibernate) {
  if (!Running()) return false;
  state_.power = hibernate ? SystemPower::Hibernated : SystemPower::Asleep;
  state_.software = 0;
  state_.system[1] &= static_cast<std::uint8_t>(~(bits::kEco | bits::kTheater));
  events_.push_back({Event::SystemState, static_cast<std::uint32_t>(state_.power), 0, {}});
  return true;
}

bool Firmware::Wake() {
  if (Running()) return false;
  state_.power = SystemPower::Running;
  events_.push_back({Event::SystemState, static_cast<std::uint32_t>(state_.power), 0, {}});
  return true;
}

bool Firmware::SetBattery(int percent) {
  if (percent < 0 || percent > 100) return false;
  state_.batteryPercent = static_cast<std::uint8_t>(percent);
  return true;
}

bool Firmware::SetPanelBrightness(int percent) {
  return SetMonitorBrightness(0, std::clamp(percent, 0, 100));
}

bool Firmware::SetMonitorBrightness(std::size_t monitor, int percent) {
  if (monitor >= state_.brightness.size() || percent < 0 || percent > 100) return false;
  state_.brightness[monitor] = static_cast<std::uint8_t>(percent);
  events_.push_back({Event::Brightness, static_cast<std::uint32_t>(percent), static_cast<int>(monitor), {}});
  return true;
}

bool Firmware::SetBrightnessRefused(std::size_t monitor, bool refused) {
  if (monitor >= kMaxMonitors) return false;
  const auto bit = static_cast<std::uint8_t>(1u << monitor);
  state_.brightnessRefused = refused ? (state_.brightnessRefused | bit) : (state_.brightnessRefused & ~bit);
  return true;
}

bool Firmware::SetMonitors(std::size_t count) {
  if (count < 1 || count > kMaxMonitors) return false;
  state_.brightness.resize(count, state_.brightness.back());
  return true;
}

void Firmware::SetBios(const std::string& version, const std::string* maker) {
  state_.biosVersion = version;
  if (maker) state_.biosMaker = *maker;
}

void Firmware::SetHddControl(bool present) {
  state_.device[1] = present ? (state_.device[1] | bits::kHddControl)
                             : static_cast<std::uint8_t>(state_.device[1] & ~bits::kHddControl);
}

void Firmware::WriteDevice(std::uint8_t value) {
  bool hddBefore = state_.device[0] & bits::kHddPower;
  state_.device[0] = value;
  // Switching the disk's power is reported back like any firmware-made change.
  if (hddBefore != static_cast<bool>(value & bits::kHddPower)) Raise(code::kHddPowerChanged, value);
}

void Firmware::WriteSystem(int instance, std::uint8_t value) { state_.system[instance ? 1 : 0] = value; }

}  // namespace orv::sim
