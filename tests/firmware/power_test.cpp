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

#include <windows.h>
#include "tests/support/test_window.h"
#include "tests/support/process.h"
#include "tray/core/message_pump.h"
#include <powrprof.h>

namespace {

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

// Handles this thread's messages until n broadcasts arrived (or the bound passed).
bool HearUntil(std::size_t n, std::chrono::milliseconds bound = std::chrono::seconds(30)) {
  return orv::test::WaitFor([n] {
    PumpPendingMessages();
    return g_heard.size() >= n;
  }, bound);
}

class PowerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(orv::test::Run({Program("orv-sim"), "start"}).exitCode, 0); }
  void TearDown() override { orv::test::Run({Program("orv-sim"), "stop"}); }
  orv::test::TempHome home_;
};

// The AC line values themselves are checked through IsAcOnline (ec_commands_test).
TEST_F(PowerTest, StatusBatteryAndUnknownWithoutTheProvider) {
  SYSTEM_POWER_STATUS s{};
  Sim({"battery", "42"});
  ASSERT_TRUE(GetSystemPowerStatus(&s));
  EXPECT_EQ(s.BatteryLifePercent, 42);
  Sim({"stop"});
  EXPECT_FALSE(GetSystemPowerStatus(&s));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  EXPECT_EQ(s.ACLineStatus, AC_LINE_UNKNOWN);
  EXPECT_EQ(s.BatteryLifePercent, 255);
}

TEST_F(PowerTest, HibernationNeedsTheShutdownPrivilege) {
  const std::string log = home_.path() + "/power.log";
  EXPECT_FALSE(SetSystemPowerState(FALSE, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
  TOKEN_PRIVILEGES p{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &p.Privileges[0].Luid));
  HANDLE readOnly = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &readOnly));
  EXPECT_FALSE(AdjustTokenPrivileges(readOnly, FALSE, &p, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(readOnly);
  EXPECT_FALSE(std::filesystem::exists(log));

  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
  ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &p, 0, nullptr, nullptr));
  EXPECT_TRUE(SetSystemPowerState(FALSE, TRUE));
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "status"}).out.find("System          hibernated"), std::string::npos);
  Sim({"wake"});
  EXPECT_TRUE(SetSuspendState(FALSE, FALSE, FALSE));
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "status"}).out.find("System          asleep"), std::string::npos);
  ASSERT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
  EXPECT_FALSE(SetSystemPowerState(TRUE, FALSE));
  CloseHandle(token);
  std::ifstream lines(log);
  std::string stamp, what, rest;
  lines >> stamp >> what >> rest;
  EXPECT_EQ(what + " " + rest, "hibernate forced");
  lines >> stamp >> what;
  EXPECT_EQ(what, "suspend");
  EXPECT_FALSE(lines >> stamp);  // the refused request left no line
}

TEST_F(PowerTest, AcChangesReachRegisteredWindows) {
  HWND window = orv::test::CreateTestWindow(PowerProc);
  GUID unknown = GUID_ACDC_POWER_SOURCE;
  unknown.Data4[7] ^= 1;
  EXPECT_EQ(RegisterPowerSettingNotification(window, &unknown, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RegisterPowerSettingNotification(nullptr, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);

  HPOWERNOTIFY h = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(h, nullptr);
  Sim({"ac", "unplug"});
  ASSERT_TRUE(HearUntil(2));
  EXPECT_EQ(g_heard[0].event, PBT_APMPOWERSTATUSCHANGE);
  EXPECT_EQ(g_heard[1].event, PBT_POWERSETTINGCHANGE);
  EXPECT_TRUE(g_heard[1].acdc);
  EXPECT_EQ(g_heard[1].length, 4u);
  EXPECT_EQ(g_heard[1].data, PoDc);
  // Unknown line status: the status changed, but there is no AC/DC value to report.
  Sim({"ac", "unknown"});
  Sim({"ac", "plug"});
  ASSERT_TRUE(HearUntil(5));
  EXPECT_EQ(g_heard[2].event, PBT_APMPOWERSTATUSCHANGE);
  EXPECT_EQ(g_heard[3].event, PBT_APMPOWERSTATUSCHANGE);
  EXPECT_EQ(g_heard[4].data, PoAc);
  // No change, and then no registration: nothing more is heard.
  Sim({"ac", "plug"});
  EXPECT_TRUE(UnregisterPowerSettingNotification(h));
  EXPECT_FALSE(UnregisterPowerSettingNotification(h));
  Sim({"ac", "unplug"});
  EXPECT_FALSE(HearUntil(6, std::chrono::seconds(2)));
  DestroyWindow(window);
}

TEST_F(PowerTest, RegistrationNeedsTheProviderAndOutlivesItsRestart) {
  HWND window = orv::test::CreateTestWindow(PowerProc);
  Sim({"stop"});
  EXPECT_EQ(RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  Sim({"start"});
  HPOWERNOTIFY h = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(h, nullptr);
  Sim({"stop"});
  Sim({"start"});
  // The registration's subscription finds the new provider by itself; a change
  // made before it has is not heard, so the adaptor goes in and out until one is.
  bool unplug = true;
  ASSERT_TRUE(orv::test::WaitFor([&] {
    Sim({"ac", unplug ? "unplug" : "plug"});
    unplug = !unplug;
    return HearUntil(2, std::chrono::milliseconds(200));
  }));
  EXPECT_EQ(g_heard[0].event, PBT_APMPOWERSTATUSCHANGE);
  EXPECT_EQ(g_heard[1].event, PBT_POWERSETTINGCHANGE);
  // A second registration while the first one watches shares its subscription.
  HPOWERNOTIFY again = RegisterPowerSettingNotification(window, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE);
  ASSERT_NE(again, nullptr);
  UnregisterPowerSettingNotification(again);
  UnregisterPowerSettingNotification(h);
  DestroyWindow(window);
}

}  // namespace
