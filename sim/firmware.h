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

// What an audio event tells: a volume or mute change of an endpoint (with the
// changer's context), an endpoint's new device state, its arrival or removal, or
// the new default endpoint of a role.
struct AudioNote {
  enum Change : std::uint8_t { Volume = 1, State = 2, Added = 3, Removed = 4, Default = 5 };
  Change change = Volume;
  int endpoint = kSpeakers;  // kNoAudioDefault: a role left without an endpoint
  float volume = 0.0f;       // Volume: the state after the change
  bool mute = false;
  std::string context;       // Volume: the changer's event context, a GUID's text or empty
  std::uint32_t state = 0;   // State
  int role = 0;              // Default: eConsole 0, eMultimedia 1, eCommunications 2
};

struct Event {
  enum Kind { Firmware, Brightness, Power, Audio, SystemState } kind = Firmware;
  // Firmware: OrvEvt; Brightness: new level; Power: AC line status; SystemState:
  // the SystemPower now in force
  std::uint32_t value = 0;
  int monitor = 0;          // Brightness only
  AudioNote audio;          // Audio only
};

// Brightness the keys step by, in percent, within the panel's range.
constexpr int kBrightnessStep = 10, kBrightnessKeyMin = 20, kBrightnessKeyMax = 100;
// Volume the keys step by, in percent.
constexpr int kVolumeStep = 2;
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
  // The notebook goes to sleep or into hibernation (the system asked, or the
  // user did): the EC forgets the utility's registration and the modes the
  // utility told it (ECO, theater), and the system hears of it. False when it
  // is not running.
  bool Suspend(bool hibernate);
  // The power button or a wake event: running again. False when it was running.
  bool Wake();
  bool Running() const { return state_.power == SystemPower::Running; }
  bool SetBattery(int percent);
  bool SetPanelBrightness(int percent);
  bool SetMonitorBrightness(std::size_t monitor, int percent);
  bool SetMonitors(std::size_t count);
  // A monitor whose driver fails every set from now on (or no longer).
  bool SetBrightnessRefused(std::size_t monitor, bool refused);

  // The sound devices (sim/audio.cpp). An endpoint is kSpeakers or kHeadphones.
  // Every set is reported, an unchanged value too; false when the endpoint is not
  // there or the level is outside 0.0..1.0.
  bool SetVolume(int endpoint, float level, const std::string& context);
  bool SetMute(int endpoint, bool mute, const std::string& context);
  // The same on the default endpoint; false when there is none.
  bool SetDefaultVolume(float level);
  bool SetDefaultMute(bool mute);
  // False when the headphones are already so.
  bool PlugHeadphones(bool plugged);
  // False when the speakers are already so.
  bool EnableSpeakers(bool enabled);
  // False when the endpoint is not there or is the default already.
  bool MakeDefault(int endpoint);
  void SetAsl(std::uint32_t version) { state_.aslVersion = version; }
  void SetBios(const std::string& version, const std::string* maker);
  void SetHddControl(bool present);
  void RawEvent(std::uint32_t value) { events_.push_back({Event::Firmware, value, 0, {}}); }

  // Register writes as the WMI provider applies them (whole register).
  void WriteDevice(std::uint8_t value);
  void WriteSystem(int instance, std::uint8_t value);
  void WriteSoftware(std::uint8_t value) { state_.software = value; }

  // Back to a state held earlier, the events raised since it unraised: a change
  // that could not be kept did not happen.
  void Restore(const EcState& state) {
    state_ = state;
    events_.clear();
  }

  // Events raised since the last call, in order.
  std::vector<Event> TakeEvents() { return std::move(events_); }

 private:
  // Raises Orv_Event: the state byte rides along only on newer firmware.
  void Raise(std::uint8_t code, std::uint8_t stateByte);
  void ToggleDevice(std::uint8_t bit, std::uint8_t code);
  void ToggleTurbo();
  void StepBrightness(bool up);
  // The volume keys: a step (clamped to 0..100 %, nothing at the end) or the mute
  // toggle of the default endpoint.
  void StepVolume(int percent);
  void ToggleMute();
  void RaiseAudio(const AudioNote& note);
  void VolumeChanged(int endpoint, const std::string& context);
  // An endpoint came or went: its state, its arrival or removal, and a new default.
  void EndpointChanged(int endpoint);
  // A new default endpoint (or kNoAudioDefault), reported for every role.
  void DefaultChanged(int endpoint);

  EcState state_;
  std::vector<Event> events_;
};

}  // namespace orv::sim
