// EC feature commands over the service's pipe, the read-modify-write masks, and
// the two power operations their callers need.
#include "tray/firmware/EcCommands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include <windows.h>

#include "library/OrvWmiAcpi.h"
#include "platform/base/unique_handle.h"
#include "tray/core/message_pump.h"

namespace {

constexpr std::size_t kRequestSize = 80;
constexpr std::size_t kReplySize = 800;
// Pause between registration attempts while the service is not answering, and
// how often the thread's messages are handled during it.
constexpr auto kRegisterRetry = std::chrono::milliseconds(100);
constexpr auto kPumpEvery = std::chrono::milliseconds(10);

// A register's value: the reply must be its decimal text and nothing else, since
// every failure text ("WBEM_E_...", "0x800706ba", an empty line) would read as 0.
bool ReadValue(const std::string& reply, unsigned* value) {
  if (reply.empty() || reply.size() > 9) return false;
  unsigned v = 0;
  for (char c : reply) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  *value = v;
  return true;
}

// The register's value, or 0 when the call failed or the reply is a failure text.
unsigned Query(const char* command) {
  std::string reply;
  unsigned v = 0;
  if (!SendEcCommand(command, &reply) || !ReadValue(reply, &v)) return 0;
  return v;
}

bool ReadModifyWrite(const char* query, const char* setPrefix, unsigned bit, unsigned offMask, int on) {
  std::string reply;
  unsigned v = 0;
  if (!SendEcCommand(query, &reply) || !ReadValue(reply, &v)) return false;
  v = on ? (v | bit) : (v & offMask);
  char command[kRequestSize] = {};
  std::snprintf(command, sizeof command, "%s%u", setPrefix, v);
  // The service answers a write with the value written, or with a failure text.
  unsigned written = 0;
  return SendEcCommand(command, &reply) && ReadValue(reply, &written) && written == v;
}

constexpr const char kDevice0[] = "root\\WMI:Q:Orv_Device:Device:0";
constexpr const char kDevice1[] = "root\\WMI:Q:Orv_Device:Device:1";
constexpr const char kSystem0[] = "root\\WMI:Q:Orv_System:System:0";
constexpr const char kSystem1[] = "root\\WMI:Q:Orv_System:System:1";
constexpr const char kSetSystem1[] = "root\\WMI:S:Orv_System:System:1:";
constexpr const char kSetDevice0[] = "root\\WMI:S:Orv_Device:Device:0:";

}  // namespace

bool SendEcCommand(const char* command, std::string* reply) {
  // The request carries at most 79 characters and its terminator; the rest stays zero.
  char request[kRequestSize] = {};
  std::memcpy(request, command, std::min(std::strlen(command), kRequestSize - 1));
  char answer[kReplySize] = {};
  std::int32_t ok = Orv_CallNamePipe(request, kRequestSize, answer, kReplySize);
  answer[kReplySize - 1] = '\0';
  if (reply) *reply = ok ? answer : "";
  return ok != 0;
}

std::int32_t RegisterWithEc() {
  char request[kRequestSize] = "root\\WMI:S:Orv_Software:Software:0:1";
  char answer[kReplySize];
  for (;;) {
    std::memset(answer, 0, sizeof answer);
    std::int32_t ok = Orv_CallNamePipe(request, kRequestSize, answer, kReplySize);
    // Only the value written back says the firmware has it: a service whose
    // firmware is away answers with a failure text, and the write is lost. An
    // empty answer says the firmware has no registration to take (a machine
    // without it): waiting cannot change that, so the start goes on.
    answer[kReplySize - 1] = '\0';
    if (ok && (std::strcmp(answer, "1") == 0 || answer[0] == '\0')) return ok;
    for (auto waited = std::chrono::milliseconds(0); waited < kRegisterRetry; waited += kPumpEvery) {
      PumpPendingMessages();
      std::this_thread::sleep_for(kPumpEvery);
    }
  }
}

void UnregisterFromEc() { SendEcCommand("root\\WMI:S:Orv_Software:Software:0:0", nullptr); }

bool IsWirelessOn() { return Query(kDevice0) & ec::kWireless; }
bool IsBluetoothOn() { return Query(kDevice0) & ec::kBluetooth; }
bool IsWebcamOn() { return Query(kDevice0) & ec::kWebcam; }
bool Is3GOn() { return Query(kDevice0) & ec::k3G; }
bool GetHddFlag(int instance) { return Query(instance ? kDevice1 : kDevice0) & ec::kHdd; }
bool IsTouchpadDisabled() { return Query(kSystem1) & ec::kTouchpadDisabled; }
bool IsTurboOn() { return Query(kSystem0) & ec::kTurbo; }

void ClearTurbo() { SendEcCommand("root\\WMI:S:Orv_System:System:0:0", nullptr); }

// The off masks also drop the bits above the 5-bit System and 8-bit Device registers.
bool SetEcoFlag(int on) { return ReadModifyWrite(kSystem1, kSetSystem1, ec::kEco, 0x1E, on); }
bool SetTheaterFlag(int on) { return ReadModifyWrite(kSystem1, kSetSystem1, ec::kTheater, 0x1B, on); }
bool SetHddPower(int on) { return ReadModifyWrite(kDevice0, kSetDevice0, ec::kHdd, 0x7F, on); }

bool IsAcOnline() {
  SYSTEM_POWER_STATUS status{};
  GetSystemPowerStatus(&status);
  return status.ACLineStatus == AC_LINE_ONLINE;
}

void HibernateNow() {
  orv::unique_handle token;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put());
  LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  SetSystemPowerState(FALSE, TRUE);
}
