// The power layer against the real provider: the power status, the shutdown
// privilege guarding hibernation, and WM_POWERBROADCAST reaching registered
// windows when the simulated AC line changes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/error.h"
#include "platform/base/handle.h"
#include "platform/power/broadcast.h"
#include "platform/power/power.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "tests/support/process.h"
#include "tray/core/message_pump.h"

namespace {

using namespace orv::win;
using orv::test::Program;

struct Heard {
  WPARAM event;
  bool acdc;       // the record named GUID_ACDC_POWER_SOURCE
  DWORD length;
  DWORD data;
};
std::vector<Heard> g_heard;

LRESULT PowerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_POWERBROADCAST) return DefWindowProcA(h, m, w, l);
  Heard x{w, false, 0, 0};
  if (w == PBT_POWERSETTINGCHANGE) {
    const auto* s = reinterpret_cast<const POWERBROADCAST_SETTING*>(l);
    x.acdc = s->PowerSetting == GUID_ACDC_POWER_SOURCE;
    x.length = s->DataLength;
    x.data = *reinterpret_cast<const DWORD*>(s->Data);
  }
  g_heard.push_back(x);
  return TRUE;
}

void Sim(const std::vector<std::string>& words) {
  std::vector<std::string> argv{Program("orv-sim")};
  argv.insert(argv.end(), words.begin(), words.end());
  ASSERT_EQ(orv::test::Run(argv).exitCode, 0);
}

// Handles this thread's messages until n broadcasts arrived (or a second passed).
bool HearUntil(std::size_t n) {
  return orv::test::WaitFor([n] {
    PumpPendingMessages();
    return g_heard.size() >= n;
  }, std::chrono::seconds(2));
}

class PowerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(orv::test::Run({Program("orv-sim"), "start"}).exitCode, 0); }
  void TearDown() override { orv::test::Run({Program("orv-sim"), "stop"}); }
  orv::test::TempHome home_;
};

TEST_F(PowerTest, StatusFollowsTheProviderAndIsUnknownWithoutIt) {
  SYSTEM_POWER_STATUS s{};
  ASSERT_TRUE(GetSystemPowerStatus(&s));
  EXPECT_EQ(s.ACLineStatus, AC_LINE_ONLINE);
  Sim({"battery", "42"});
  Sim({"ac", "unplug"});
  ASSERT_TRUE(GetSystemPowerStatus(&s));
  EXPECT_EQ(s.ACLineStatus, AC_LINE_OFFLINE);
  EXPECT_EQ(s.BatteryLifePercent, 42);
  Sim({"ac", "unknown"});
  ASSERT_TRUE(GetSystemPowerStatus(&s));
  EXPECT_EQ(s.ACLineStatus, AC_LINE_UNKNOWN);
  Sim({"stop"});
  SetLastError(0);
  EXPECT_FALSE(GetSystemPowerStatus(&s));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  EXPECT_EQ(s.ACLineStatus, AC_LINE_UNKNOWN);
  EXPECT_EQ(s.BatteryLifePercent, 255);
  EXPECT_FALSE(GetSystemPowerStatus(nullptr));
}

TEST_F(PowerTest, HibernationNeedsTheShutdownPrivilege) {
  const std::string log = home_.path() + "/power.log";
  EXPECT_FALSE(SetSystemPowerState(FALSE, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));

  TOKEN_PRIVILEGES p{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
  EXPECT_FALSE(LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &p.Privileges[0].Luid));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SUCH_PRIVILEGE));
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &p.Privileges[0].Luid));
  HANDLE readOnly = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &readOnly));
  EXPECT_FALSE(AdjustTokenPrivileges(readOnly, FALSE, &p, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(CloseHandle(readOnly));
  EXPECT_FALSE(AdjustTokenPrivileges(readOnly, FALSE, &p, 0, nullptr, nullptr));  // closed
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(std::filesystem::exists(log));

  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
  ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &p, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(SetSystemPowerState(FALSE, TRUE));
  EXPECT_TRUE(SetSystemPowerState(TRUE, FALSE));
  std::ifstream lines(log);
  std::string stamp, what, rest;
  lines >> stamp >> what >> rest;
  EXPECT_EQ(what + " " + rest, "hibernate forced");
  EXPECT_GT(std::stoll(stamp), 1600000000);
  lines >> stamp >> what;
  EXPECT_EQ(what, "suspend");
  EXPECT_FALSE(lines >> stamp);
  // Disabling it again refuses further requests.
  ASSERT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
  EXPECT_FALSE(SetSystemPowerState(FALSE, TRUE));
  CloseHandle(token);
}

TEST_F(PowerTest, AcChangesReachRegisteredWindows) {
  WindowCreate c;
  c.proc = PowerProc;
  HWND window = CreateWindowHandle(c);
  HWND other = CreateWindowHandle(c);
  // Refused registrations.
  EXPECT_EQ(RegisterPowerSettingNotification(nullptr, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  GUID unknown = GUID_ACDC_POWER_SOURCE;
  unknown.Data4[7] ^= 1;
  EXPECT_EQ(RegisterPowerSettingNotification(window, &unknown, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  EXPECT_EQ(RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_SERVICE_HANDLE),
            nullptr);

  HPOWERNOTIFY h = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(h, nullptr);
  Sim({"ac", "unplug"});
  ASSERT_TRUE(HearUntil(2));
  EXPECT_EQ(g_heard[0].event, PBT_APMPOWERSTATUSCHANGE);
  EXPECT_EQ(g_heard[1].event, PBT_POWERSETTINGCHANGE);
  EXPECT_TRUE(g_heard[1].acdc);
  EXPECT_EQ(g_heard[1].length, 4u);
  EXPECT_EQ(g_heard[1].data, PoDc);
  Sim({"ac", "plug"});
  ASSERT_TRUE(HearUntil(4));
  EXPECT_EQ(g_heard[3].data, PoAc);
  // Unknown line status: the status changed, but there is no AC/DC value to report.
  Sim({"ac", "unknown"});
  ASSERT_TRUE(HearUntil(5));
  EXPECT_EQ(g_heard[4].event, PBT_APMPOWERSTATUSCHANGE);
  Sim({"ac", "plug"});
  ASSERT_TRUE(HearUntil(7));
  EXPECT_EQ(g_heard[6].data, PoAc);
  // Setting the same status again is no change; an unregistered window hears nothing.
  Sim({"ac", "plug"});
  EXPECT_TRUE(UnregisterPowerSettingNotification(h));
  EXPECT_FALSE(UnregisterPowerSettingNotification(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HPOWERNOTIFY h2 = RegisterPowerSettingNotification(other, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(h2, nullptr);
  Sim({"ac", "unplug"});
  ASSERT_TRUE(HearUntil(9));
  EXPECT_FALSE(HearUntil(10));
  EXPECT_EQ(g_heard[8].data, PoDc);
  UnregisterPowerSettingNotification(h2);
  DestroyWindow(window);
  DestroyWindow(other);
}

TEST_F(PowerTest, RegistrationNeedsTheProviderAndResumesAfterItsRestart) {
  WindowCreate c;
  c.proc = PowerProc;
  HWND window = CreateWindowHandle(c);
  Sim({"stop"});
  EXPECT_EQ(RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  Sim({"start"});
  HPOWERNOTIFY h = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(h, nullptr);
  Sim({"stop"});
  // The layer notices the provider's end on its own thread, a moment later.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Sim({"start"});
  // The old subscription ended with its provider; a new registration watches the new one.
  HPOWERNOTIFY again = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(again, nullptr);
  UnregisterPowerSettingNotification(again);
  Sim({"ac", "unplug"});
  ASSERT_TRUE(HearUntil(2));
  EXPECT_EQ(g_heard[1].data, PoDc);
  UnregisterPowerSettingNotification(h);
  DestroyWindow(window);
}

}  // namespace
