// The platform calls the tray program stands on, where they have rules of their
// own: session mutexes, run-time libraries, the foreground and monitor calls.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <windows.h>
#include "platform/desktop/sim/foreground.h"
#include "tests/support/process.h"
#include "tests/support/test_window.h"


namespace {

TEST(SessionMutex, ExistsWhileAnyHandleIsOpenAndOnlyInItsSession) {
  orv::test::TempHome home;
  HANDLE first = CreateMutexA(nullptr, FALSE, "Calvex");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), 0u);
  HANDLE second = CreateMutexA(nullptr, FALSE, "Calvex");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  // The creator's handle goes; the second one still keeps the name.
  CloseHandle(first);
  HANDLE third = CreateMutexA(nullptr, FALSE, "Calvex");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(third);
  // Opening finds the name while a handle keeps it; a handle that does not own it cannot release it.
  HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, "Calvex");
  ASSERT_NE(opened, nullptr);
  EXPECT_FALSE(ReleaseMutex(opened));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  CloseHandle(opened);
  CloseHandle(second);
  EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "Calvex"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  HANDLE fresh = CreateMutexA(nullptr, FALSE, "Calvex");
  EXPECT_EQ(GetLastError(), 0u) << "the name outlived its last handle";
  // Another name, and the same name in another session, are other mutexes.
  HANDLE other = CreateMutexA(nullptr, FALSE, "Calvex\\other");
  EXPECT_EQ(GetLastError(), 0u);
  setenv("ORV_SESSION", "7", 1);
  HANDLE elsewhere = CreateMutexA(nullptr, FALSE, "Calvex");
  EXPECT_EQ(GetLastError(), 0u);
  unsetenv("ORV_SESSION");
  for (HANDLE h : {fresh, other, elsewhere}) CloseHandle(h);
  EXPECT_EQ(CreateMutexA(nullptr, FALSE, ""), nullptr);
}

TEST(SessionMutex, AKilledHolderLetsGo) {
  orv::test::TempHome home;
  HANDLE probe = CreateMutexA(nullptr, FALSE, "Calvex");
  ASSERT_EQ(GetLastError(), 0u);
  CloseHandle(probe);
  orv::test::Child holder({orv::test::Program("tray_mutex_holder")});
  ASSERT_TRUE(orv::test::WaitFor([&] {
    HANDLE h = CreateMutexA(nullptr, FALSE, "Calvex");
    bool held = GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS);
    CloseHandle(h);
    return held;
  }));
  holder.Signal(SIGKILL);
  holder.Wait();
  HANDLE after = CreateMutexA(nullptr, FALSE, "Calvex");
  EXPECT_EQ(GetLastError(), 0u);
  CloseHandle(after);
}

TEST(RunTimeLibrary, LoadsByItsWindowsNameBesideTheProgramAndReportsWhatIsMissing) {
  HMODULE hook = LoadLibraryA("KvKBHook.dll");
  ASSERT_NE(hook, nullptr) << "KvKBHook.dll is not beside the program";
  EXPECT_NE(GetProcAddress(hook, "Hook"), nullptr);
  EXPECT_NE(GetProcAddress(hook, "UnHook"), nullptr);
  EXPECT_EQ(GetProcAddress(hook, "NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(hook));
  EXPECT_EQ(LoadLibraryA("NoSuchLibrary.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibraryA(""), nullptr);
}

TEST(Foreground, TheDesktopUnlessAProgramIsInFrontAndTheOneMonitorIsTheScreen) {
  orv::test::TempHome home;
  char name[64] = {};
  GetClassNameA(GetForegroundWindow(), name, sizeof name);
  EXPECT_STREQ(name, "Progman");

  orv::desktop::SetPlayer(orv::desktop::PlayerMode::FullScreen);
  HWND front = GetForegroundWindow();
  GetClassNameA(front, name, sizeof name);
  EXPECT_STREQ(name, orv::desktop::kPlayerClass);
  EXPECT_FALSE(IsZoomed(front));
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ASSERT_EQ(sizeof info, 40u);
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(front, MONITOR_DEFAULTTOPRIMARY), &info));
  RECT client{};
  ASSERT_TRUE(GetClientRect(front, &client));
  EXPECT_EQ(client.right, info.rcMonitor.right);
  EXPECT_EQ(client.bottom, info.rcMonitor.bottom);
  EXPECT_EQ(info.rcWork.bottom, info.rcMonitor.bottom - 30) << "the work area leaves out the taskbar";

  orv::desktop::SetPlayer(orv::desktop::PlayerMode::Maximized);
  EXPECT_TRUE(IsZoomed(GetForegroundWindow()));
  orv::desktop::SetPlayer(orv::desktop::PlayerMode::Off);
  GetClassNameA(GetForegroundWindow(), name, sizeof name);
  EXPECT_STREQ(name, "Progman");

  // A window wholly off the screen still gets the primary monitor, unless asked not to.
  HWND off = orv::test::CreateTestWindow(DefWindowProcA, "", WS_POPUP | WS_CAPTION, RECT{-400, -300, -100, -100});
  EXPECT_EQ(MonitorFromWindow(off, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_NE(MonitorFromWindow(off, MONITOR_DEFAULTTOPRIMARY), nullptr);
  ASSERT_TRUE(GetClientRect(off, &client));
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200 - 23) << "the caption is not client area";
  info.cbSize = 44;
  EXPECT_FALSE(GetMonitorInfoA(MonitorFromWindow(off, MONITOR_DEFAULTTOPRIMARY), &info));
  DestroyWindow(off);
}

}  // namespace
