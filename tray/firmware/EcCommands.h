// The tray's vocabulary of embedded-controller commands: each feature flag is
// read or switched by one command string sent through the service's pipe.
#pragma once
#include <cstdint>
#include <string>

// Bits of the feature registers.
namespace ec {
// Orv_Device.Device instance 0 (instance 1: kHdd means the switchable disk exists).
constexpr unsigned kBluetooth = 0x01, kWebcam = 0x02, kWireless = 0x08, k3G = 0x10, kHdd = 0x80;
// Orv_System.System instance 0 and instance 1.
constexpr unsigned kTurbo = 0x02;
constexpr unsigned kEco = 0x01, kTouchpadDisabled = 0x02, kTheater = 0x04;
}  // namespace ec

// One exchange with the service: the command in a zero-filled 80-byte request,
// the reply text (read into 800 bytes) in *reply. False when the pipe call failed.
bool SendEcCommand(const char* command, std::string* reply);

// Announces the utility to the firmware, sending again until the service answers
// that the firmware took it (or that it has no registration to take); between
// attempts it waits a little while handling the thread's messages, so the user
// interface stays alive. Returns the pipe call's nonzero result.
std::int32_t RegisterWithEc();
void UnregisterFromEc();

bool IsWirelessOn();
bool IsBluetoothOn();
bool IsWebcamOn();
bool Is3GOn();
bool GetHddFlag(int instance);
bool IsTouchpadDisabled();
bool IsTurboOn();

void ClearTurbo();
// Read-modify-write of one bit. When the register cannot be read nothing is
// written (there is no base value to keep), and the result is false.
bool SetEcoFlag(int on);
bool SetTheaterFlag(int on);
bool SetHddPower(int on);

// AC line status 1 (online); offline and unknown read as false.
bool IsAcOnline();
// Forces hibernation with the shutdown privilege.
void HibernateNow();
