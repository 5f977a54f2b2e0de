// MessageBoxA on the simulated desktop, driven as a person would from inside its
// own modal loop (a thread timer acts once the box is on the screen): its caption,
// text and buttons, what Enter, Esc and a click answer, and its owner disabled
// while it is open.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "platform/desktop/sim/input.h"
#include "tests/desktop/desktop_support.h"
#include "tests/support/process.h"

namespace {

// What the running box's timer does, once, when a window of the title shows.
struct Driver {
  std::string title;
  std::function<void()> act;
  std::string controls;  // the box's controls as automation lists them
  bool ownerEnabled = true;
  HWND owner = nullptr;
  bool done = false;
  bool shown = false;
  // A box that never shows ends the wait with a quit, which ends its loop too.
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
};
Driver* g_driver = nullptr;

void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
  Driver& d = *g_driver;
  if (d.done) return;
  const std::string list = orv::desktop::ListControls(d.title);
  if (list.rfind("ERR", 0) == 0) {  // not on the screen yet
    if (std::chrono::steady_clock::now() < d.deadline) return;
    d.done = true;
    PostQuitMessage(0);
    return;
  }
  d.shown = true;
  d.controls = list;
  if (d.owner) d.ownerEnabled = IsWindowEnabled(d.owner) != FALSE;
  d.done = true;
  d.act();
}

Driver Acting(const std::string& title, std::function<void()> act) {
  Driver d;
  d.title = title;
  d.act = std::move(act);
  return d;
}

// Runs the box with the driver acting on it; its answer.
int RunBox(Driver& d, HWND owner, const char* text, const char* caption, UINT type) {
  g_driver = &d;
  d.owner = owner;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, Drive);
  const int answer = MessageBoxA(owner, text, caption, type);
  KillTimer(nullptr, timer);
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the quit the box passed on, if any
  EXPECT_TRUE(d.shown) << "no box titled " << d.title << " showed";
  g_driver = nullptr;
  return answer;
}

TEST(MessageBox, ShowsItsTextAndButtonsAnswersTheButtonOrKeyAndDisablesItsOwnerMeanwhile) {
  orv::test::TempHome home;
  HWND owner = desktoptest::ShowPlainWindow(RECT{100, 100, 400, 300});
  ASSERT_NE(owner, nullptr);

  Driver enter = Acting("Calvex", [] { orv::desktop::PressKeys("enter"); });
  EXPECT_EQ(RunBox(enter, owner, "The path is too long.", "Calvex", MB_OK | MB_ICONWARNING), IDOK);
  EXPECT_NE(enter.controls.find("65535\tSTATIC\tThe path is too long.\t"), std::string::npos) << enter.controls;
  EXPECT_NE(enter.controls.find("1\tBUTTON\tOK\t"), std::string::npos) << enter.controls;
  EXPECT_EQ(enter.controls.find("\tCancel\t"), std::string::npos) << "OK alone";
  EXPECT_FALSE(enter.ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner)) << "enabled again once it closed";

  // Esc with OK alone answers OK; with Cancel, Cancel.
  Driver escOk = Acting("Calvex", [] { orv::desktop::PressKeys("esc"); });
  EXPECT_EQ(RunBox(escOk, owner, "text", "Calvex", MB_OK), IDOK);
  Driver escCancel = Acting("Calvex", [] { orv::desktop::PressKeys("esc"); });
  EXPECT_EQ(RunBox(escCancel, owner, "text", "Calvex", MB_OKCANCEL), IDCANCEL);
  EXPECT_NE(escCancel.controls.find("2\tBUTTON\tCancel\t"), std::string::npos) << escCancel.controls;
  Driver click = Acting("Calvex", [] { orv::desktop::PressControl("Calvex", IDCANCEL); });
  EXPECT_EQ(RunBox(click, owner, "text", "Calvex", MB_OKCANCEL), IDCANCEL);

  // No caption: "Error"; no owner: nothing to disable.
  Driver untitled = Acting("Error", [] { orv::desktop::PressControl("Error", IDOK); });
  EXPECT_EQ(RunBox(untitled, nullptr, "text", nullptr, MB_OK), IDOK);
  DestroyWindow(owner);
}

}  // namespace
