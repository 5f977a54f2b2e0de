// The main window's level decisions after a suspend, with the messages delivered
// in one go on this thread, so that the 200 ms quiet timer cannot come between
// them: a second change is stored but not shown, a brightness is not even stored,
// and the timer's expiry ends the quiet time.
#include <gtest/gtest.h>

#include "tests/level/level_fixture.h"

namespace leveltest {
namespace {

TEST_F(LevelTest, AfterASuspendChangesAreQuietUntilTheTimerAfterTheFirstHasRun) {
  main_->m_nVolume = 50;
  main_->m_nBrightness = 80;
  SendMessageA(hwnd_, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(SendMessageA(hwnd_, WM_AUDIO_CHANGED, 0, 30), 0);
  EXPECT_EQ(SendMessageA(hwnd_, WM_AUDIO_CHANGED, 0, 40), 0);
  EXPECT_EQ(main_->m_nVolume, 40) << "stored though not shown";
  SendMessageA(hwnd_, WM_BRIGHTNESS_CHANGED, 60, 0);
  SendMessageA(hwnd_, WM_BRIGHTNESS_CHANGED, 50, 0);
  EXPECT_EQ(main_->m_nBrightness, 80) << "not even stored";
  EXPECT_TRUE(main_->m_bAudioQuietTimer);
  EXPECT_TRUE(main_->m_bBrightnessQuietTimer);
  // Each timer clears its own pair of flags when it runs out.
  ASSERT_TRUE(PumpUntil([&] { return !main_->m_bAudioQuiet && !main_->m_bBrightnessQuiet; }));
  EXPECT_FALSE(main_->m_bAudioQuietTimer);
  EXPECT_FALSE(main_->m_bBrightnessQuietTimer);
  // Decided again: 40 was kept, so it repeats; 50 was not, so it is a change.
  EXPECT_EQ(SendMessageA(hwnd_, WM_AUDIO_CHANGED, 0, 40), 0);
  EXPECT_EQ(SendMessageA(hwnd_, WM_AUDIO_CHANGED, 0, 45), 1);
  SendMessageA(hwnd_, WM_BRIGHTNESS_CHANGED, 50, 0);
  EXPECT_EQ(main_->m_nBrightness, 50);
  // With no change after a resume, the quiet state waits for the first one.
  SendMessageA(hwnd_, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  PumpUntil([] { return true; });
  EXPECT_TRUE(main_->m_bAudioQuiet);
  EXPECT_FALSE(main_->m_bAudioQuietTimer);
  EXPECT_EQ(SendMessageA(hwnd_, WM_AUDIO_CHANGED, 0, 90), 0);
}

}  // namespace
}  // namespace leveltest
