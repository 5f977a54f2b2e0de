// The level tests' fixture: the notebook's provider in this process, this thread
// as the tray's user-interface thread (the main window object, in its apartment,
// bound to a window of the thread), and what that main window handled.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sim/provider.h"
#include "tests/support/process.h"
#include "tray/core/CalvexDlg.h"

namespace leveltest {

// The main window, recording each volume and brightness message (wParam, lParam)
// before handling it as the program does.
class RecordingMain : public CCalvexDlg {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::vector<std::pair<WPARAM, LPARAM>> audio, brightness;
};

class LevelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs a simulator command in the provider; the test fails if it is refused.
  void Sim(const std::vector<std::string>& words);
  std::string Status();
  // Handles this thread's messages until cond holds (with the generous bound of WaitFor).
  bool PumpUntil(const std::function<bool()>& cond);

  orv::test::TempHome home_;
  orv::sim::ProviderThread provider_;
  std::unique_ptr<RecordingMain> main_;
  HWND hwnd_ = nullptr;
};

}  // namespace leveltest
