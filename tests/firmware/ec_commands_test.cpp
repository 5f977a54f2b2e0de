// The tray's EC feature commands through the real service and provider: each
// reads its own bit, switches keep the other bits, failures write nothing.
#include <atomic>
#include <chrono>
#include <thread>

#include <windows.h>

#include "tests/support/test_window.h"
#include "tests/firmware/firmware_fixture.h"
#include "tray/firmware/EcCommands.h"
#include "tray/firmware/PlatformInfo.h"

namespace {

using orv::test::FirmwareTest;
using orv::test::Program;

void Write(const char* command) { ASSERT_TRUE(SendEcCommand(command, nullptr)) << command; }

TEST_F(FirmwareTest, QueriesReadTheirOwnBits) {
  Write("root\\WMI:S:Orv_Device:Device:0:9");  // wireless and Bluetooth
  EXPECT_TRUE(IsWirelessOn());
  EXPECT_TRUE(IsBluetoothOn());
  EXPECT_FALSE(IsWebcamOn());
  EXPECT_FALSE(Is3GOn());
  EXPECT_FALSE(GetHddFlag(0));
  EXPECT_TRUE(GetHddFlag(1));  // the machine has the switchable disk
  Write("root\\WMI:S:Orv_Device:Device:0:146");  // 0x92: webcam, 3G, disk
  EXPECT_FALSE(IsWirelessOn());
  EXPECT_FALSE(IsBluetoothOn());
  EXPECT_TRUE(IsWebcamOn());
  EXPECT_TRUE(Is3GOn());
  EXPECT_TRUE(GetHddFlag(0));
  Write("root\\WMI:S:Orv_System:System:1:2");
  EXPECT_TRUE(IsTouchpadDisabled());
  Sim({"press", "turbo"});
  EXPECT_TRUE(IsTurboOn());
  ClearTurbo();
  EXPECT_FALSE(IsTurboOn());
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:0"), "0\n");
}

TEST_F(FirmwareTest, SwitchesKeepTheOtherBits) {
  Write("root\\WMI:S:Orv_System:System:1:6");
  EXPECT_TRUE(SetEcoFlag(1));
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "7\n");
  Write("root\\WMI:S:Orv_System:System:1:37");  // bits above bit 4 are dropped
  EXPECT_TRUE(SetEcoFlag(0));
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "4\n");
  Write("root\\WMI:S:Orv_System:System:1:5");
  EXPECT_TRUE(SetTheaterFlag(0));
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "1\n");
  EXPECT_TRUE(SetTheaterFlag(1));
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "5\n");
  Write("root\\WMI:S:Orv_Device:Device:0:137");  // 0x89
  EXPECT_TRUE(SetHddPower(0));
  EXPECT_EQ(Local("root\\WMI:Q:Orv_Device:Device:0"), "9\n");
  EXPECT_TRUE(SetHddPower(1));
  EXPECT_EQ(Local("root\\WMI:Q:Orv_Device:Device:0"), "137\n");
}

TEST_F(FirmwareTest, FailuresReadAsOffAndWriteNothing) {
  Write("root\\WMI:S:Orv_System:System:1:6");
  // The service answers, but only with a failure text: the firmware is gone.
  Sim({"stop"});
  EXPECT_FALSE(IsTouchpadDisabled());
  EXPECT_FALSE(SetEcoFlag(1));
  ASSERT_EQ(orv::test::Run({orv::test::Program("orv-sim"), "start"}).exitCode, 0);
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "6\n");
  // The service itself is gone.
  StopService();
  EXPECT_FALSE(IsWebcamOn());
  EXPECT_FALSE(SetTheaterFlag(1));
  EXPECT_FALSE(SetHddPower(0));
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "6\n");
  EXPECT_EQ(GetAslVersion(), "");
  EXPECT_FALSE(IsMakerBios());
}

LRESULT CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  static_cast<void>(h);
  if (m == WM_USER + 7) reinterpret_cast<std::atomic<int>*>(w)->fetch_add(1);
  return DefWindowProcA(h, m, w, l);
}

TEST_F(FirmwareTest, RegistrationWaitsForALateServiceAndKeepsMessagesMoving) {
  UnregisterFromEc();
  EXPECT_EQ(Local("root\\WMI:Q:Orv_Software:Software:0"), "0\n");
  StopService();
  HWND window = orv::test::CreateTestWindow(CountingProc);
  std::atomic<int> handled{0};
  std::atomic<int> handledBeforeService{-1};
  const auto counter = reinterpret_cast<WPARAM>(&handled);
  // One message waits already; two more arrive while the registration waits.
  PostMessageA(window, WM_USER + 7, counter, 0);
  std::thread late([&] {
    // The waiting message handled shows the registration is in its wait.
    orv::test::WaitFor([&] { return handled == 1; });
    PostMessageA(window, WM_USER + 7, counter, 0);
    PostMessageA(window, WM_USER + 7, counter, 0);
    orv::test::WaitFor([&] { return handled == 3; });
    handledBeforeService = handled.load();
    StartService();
  });
  EXPECT_NE(RegisterWithEc(), 0);
  late.join();
  EXPECT_EQ(handledBeforeService, 3);
  EXPECT_EQ(Local("root\\WMI:Q:Orv_Software:Software:0"), "1\n");
  DestroyWindow(window);
}

TEST_F(FirmwareTest, PlatformIdentification) {
  EXPECT_EQ(GetAslVersion(), "17");
  Sim({"set", "asl", "16"});
  EXPECT_EQ(GetAslVersion(), "16");
  Sim({"set", "bios", "R01.07QT"});
  EXPECT_TRUE(IsMakerBios());
  Sim({"set", "bios", "R01.07qt"});
  EXPECT_FALSE(IsMakerBios());
  Sim({"set", "bios", "R01.0QT"});  // seven characters: judged by characters 6 and 7
  EXPECT_TRUE(IsMakerBios());
  Sim({"set", "bios", "R01.07QTX99"});  // only the first eight characters count
  EXPECT_TRUE(IsMakerBios());
  Sim({"set", "bios", "QTR01.07"});
  EXPECT_FALSE(IsMakerBios());
  Sim({"set", "bios", "Q"});
  EXPECT_FALSE(IsMakerBios());
  // The provider cannot hold an empty version; the rule alone judges it.
  EXPECT_FALSE(HasMakerMark(""));
  EXPECT_FALSE(HasMakerMark("T"));
  EXPECT_TRUE(HasMakerMark("QT"));
}

TEST_F(FirmwareTest, AcLineAndHibernation) {
  EXPECT_TRUE(IsAcOnline());
  Sim({"ac", "unplug"});
  EXPECT_FALSE(IsAcOnline());
  Sim({"ac", "unknown"});
  EXPECT_FALSE(IsAcOnline());
  Sim({"ac", "plug"});
  EXPECT_TRUE(IsAcOnline());
  HibernateNow();
  orv::test::RunResult log = orv::test::Run({"/bin/cat", home_->path() + "/power.log"});
  EXPECT_NE(log.out.find("hibernate forced"), std::string::npos) << log.out;
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "status"}).out.find("System          hibernated"), std::string::npos);
}

TEST_F(FirmwareTest, SleepForgetsTheRegistrationAndTheToldModes) {
  RegisterWithEc();
  SetEcoFlag(1);
  SetTheaterFlag(1);
  Sim({"press", "touchpad"});  // a bit the firmware keeps itself
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "7\n");
  Sim({"sleep"});
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "status"}).out.find("System          asleep"), std::string::npos);
  EXPECT_EQ(Local("root\\WMI:Q:Orv_Software:Software:0"), "0\n");
  EXPECT_EQ(Local("root\\WMI:Q:Orv_System:System:1"), "2\n");
  // Asleep, the keys and sensors raise nothing, and it cannot fall asleep twice.
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "press", "wireless"}).exitCode, 0);
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "thermal", "s3"}).exitCode, 0);
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "hibernate"}).exitCode, 0);
  Sim({"wake"});
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "status"}).out.find("System          running"), std::string::npos);
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "wake"}).exitCode, 0);
  Sim({"press", "wireless"});
  // The state survives a restart of the provider.
  Sim({"hibernate"});
  Sim({"stop"});
  Sim({"start"});
  EXPECT_NE(orv::test::Run({Program("orv-sim"), "status"}).out.find("System          hibernated"), std::string::npos);
}

}  // namespace
