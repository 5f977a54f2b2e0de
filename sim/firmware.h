// The simulated notebook's behaviour: what keys, switches, sensors and register
// writes do to the EC state, and which events they raise.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/state.h"

namespace orv::sim {

// Event codes of the firmware's Orv_Event.
namespace code {
constexpr std::uint8_t kWireless = 0x5F, kBluetooth = 0x56, kWebcam = 0x57, kTouchpad = 0x08, k3G = 0x84;
constexpr std::uint8_t kTurbo = 0x60, kEco = 0x79, kTheater = 0x73, kUserDefine = 0x6F;
constexpr std::uint8_t kHddPowerChanged = 0x78, kHddKey = 0x7B;
constexpr std::uint8_t kS4Stage1 = 0x09, kS4Stage2 = 0x01, kS3 = 0x0A;
constexpr std::uint8_t kVolumeMute = 0x21, kVolumeDown = 0x23, kVolumeUp = 0x32;
constexpr std::uint8_t kBrightnessDown = 0x62, kBrightnessUp = 0x63;
}  // namespace code

struct Event {
  enum Kind { Firmware, Brightness, Power } kind = Firmware;
  std::uint32_t value = 0;  // Firmware: OrvEvt; Brightness: new level; Power: AC line status
  int monitor = 0;          // Brightness only
};

// Brightness the keys step by, in percent.
constexpr int kBrightnessStep = 10;
constexpr std::size_t kMaxMonitors = 8;

class Firmware {
 public:
  explicit Firmware(EcState state = {}) : state_(std::move(state)) {}
  const EcState& State() const { return state_; }

  // Function keys by name ("wireless", "turbo", "volume-up", ...); false for an
  // unknown name. Keys whose flag the firmware owns toggle it first.
  bool Press(const std::string& key);
  static std::vector<std::string> KeyNames();

  void RadioSwitch(bool on);           // every radio at once, one event each
  void Thermal(std::uint8_t code);     // kS4Stage1, kS4Stage2 or kS3
  void AcLine(std::uint8_t status);    // kAcOnline, kAcOffline, kAcUnknown
  bool SetBattery(int percent);
  bool SetPanelBrightness(int percent);
  bool SetMonitorBrightness(std::size_t monitor, int percent);
  bool SetMonitors(std::size_t count);
  void SetAsl(std::uint32_t version) { state_.aslVersion = version; }
  void SetBios(const std::string& version, const std::string* maker);
  void SetHddControl(bool present);
  void RawEvent(std::uint32_t value) { events_.push_back({Event::Firmware, value, 0}); }

  // Register writes as the WMI provider applies them (whole register).
  void WriteDevice(std::uint8_t value);
  void WriteSystem(int instance, std::uint8_t value);
  void WriteSoftware(std::uint8_t value) { state_.software = value; }

  // Events raised since the last call, in order.
  std::vector<Event> TakeEvents() { return std::move(events_); }

 private:
  // Raises Orv_Event: the state byte rides along only on newer firmware.
  void Raise(std::uint8_t code, std::uint8_t stateByte);
  void ToggleDevice(std::uint8_t bit, std::uint8_t code);
  void ToggleTurbo();

  EcState state_;
  std::vector<Event> events_;
};

}  // namespace orv::sim
