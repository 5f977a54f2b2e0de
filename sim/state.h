// The embedded controller's state as the simulated notebook keeps it, and its
// state file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/audio_state.h"

namespace orv::sim {

// Register bits (the same layout the firmware's events carry).
namespace bits {
constexpr std::uint8_t kBluetooth = 0x01;   // Device[0]
constexpr std::uint8_t kWebcam = 0x02;      // Device[0]
constexpr std::uint8_t kWireless = 0x08;    // Device[0]
constexpr std::uint8_t k3G = 0x10;          // Device[0]
constexpr std::uint8_t kHddPower = 0x80;    // Device[0]
constexpr std::uint8_t kHddControl = 0x80;  // Device[1]
constexpr std::uint8_t kTurbo = 0x02;       // System[0]
constexpr std::uint8_t kEco = 0x01;         // System[1]
constexpr std::uint8_t kTouchpadOff = 0x02; // System[1]
constexpr std::uint8_t kTheater = 0x04;     // System[1]
}  // namespace bits

// AC line status values as the power status reports them.
constexpr std::uint8_t kAcOffline = 0, kAcOnline = 1, kAcUnknown = 255;

// Whether the notebook runs, sleeps (S3) or hibernates (S4).
enum class SystemPower : std::uint8_t { Running = 0, Asleep = 1, Hibernated = 2 };
const char* SystemPowerName(SystemPower p);  // "running", "asleep", "hibernated"

struct EcState {
  std::uint8_t device[2] = {bits::kWireless | bits::kBluetooth | bits::kWebcam | bits::kHddPower,
                            bits::kHddControl};
  std::uint8_t system[2] = {0, 0};
  std::uint8_t software = 0;           // 1 while the utility is registered
  std::uint32_t apRevision = 1;        // Orv_AP instance 0: revision of this WMI interface
  std::uint32_t aslVersion = 17;       // Orv_AP instance 1
  std::string biosVersion = "R01.07QT";
  std::string biosMaker = "Orv";
  std::uint8_t acLine = kAcOnline;
  std::uint8_t batteryPercent = 100;
  SystemPower power = SystemPower::Running;
  std::vector<std::uint8_t> brightness = {80};  // one entry per monitor, the panel first
  std::uint8_t brightnessRefused = 0;           // monitors (bit n: monitor n) whose driver fails a set
  AudioState audio;

  bool operator==(const EcState& o) const;
};

// Text form, one "key=value" a line.
std::string Serialize(const EcState& s);
// False (with the line and reason in *error) when the text is damaged.
bool Parse(const std::string& text, EcState* out, std::string* error);

enum class LoadResult { Loaded, Missing, Damaged };
// Reads the state file; a damaged one is moved aside to "<path>.damaged" and
// *message says so. Defaults are returned in every case but Loaded.
LoadResult LoadState(const std::string& path, EcState* out, std::string* message);
// Replaces the file so that a crash at any moment leaves the old or the new state
// whole; only one writer at a time (the provider holds the provider lock).
bool SaveState(const std::string& path, const EcState& s, std::string* error);

// Readable multi-line summary for the status command.
std::string Describe(const EcState& s);

}  // namespace orv::sim
