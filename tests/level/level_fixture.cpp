// The level tests' fixture.
#include "tests/level/level_fixture.h"

#include "tests/support/sim_control.h"
#include "tests/support/test_window.h"

namespace leveltest {

LRESULT RecordingMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_AUDIO_CHANGED) audio.emplace_back(wParam, lParam);
  if (message == WM_BRIGHTNESS_CHANGED) brightness.emplace_back(wParam, lParam);
  return CCalvexDlg::WindowProc(message, wParam, lParam);
}

void LevelTest::SetUp() {
  std::string error;
  ASSERT_TRUE(provider_.Start(&error)) << error;
  // Its firmware object puts this thread in a single-threaded apartment, as the
  // main window's does on the program's user-interface thread.
  main_ = std::make_unique<RecordingMain>();
  hwnd_ = orv::test::CreateTestWindow(DefWindowProcA);
  ASSERT_NE(hwnd_, nullptr);
  ASSERT_TRUE(main_->SubclassWindow(hwnd_));
  g_pMainDlg = main_.get();
}

void LevelTest::TearDown() {
  // The window goes without the program's teardown, which these tests do not start.
  if (main_) main_->UnsubclassWindow();
  if (hwnd_) DestroyWindow(hwnd_);
  main_.reset();
  provider_.Stop();
}

void LevelTest::Sim(const std::vector<std::string>& words) { orv::test::SimCommand(words); }

std::string LevelTest::Status() { return orv::test::SimStatus(); }

bool LevelTest::PumpUntil(const std::function<bool()>& cond) {
  return orv::test::WaitFor([&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return cond();
  });
}

}  // namespace leveltest
