// The brightness decisions on a real level OSD window of this process: the step
// each brightness shows (above the pictures' range the highest, below it the
// lowest), an unchanged brightness after a change of the power source shown
// once, and an unchanged one otherwise not at all.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/desktop/sim/screen.h"
#include "tests/level/level_fixture.h"
#include "tests/osd/osd_support.h"
#include "tray/core/brightness_step.h"
#include "tray/osd/KvSysOSD.h"

namespace leveltest {
namespace {

constexpr int kLevel = 2;  // the level OSD's kind

class BrightnessOsd : public LevelTest {
 protected:
  void SetUp() override {
    LevelTest::SetUp();
    orv::desktop::SetConfig({1280, 800, orv::desktop::Edge::Bottom, 30});
    main_->m_pOsd[kLevel] = std::make_unique<CKvSysOSD>();
    ASSERT_TRUE(main_->m_pOsd[kLevel]->Create(CKvSysOSD::IDD));
    bare_ = osdtest::Frame();
  }
  void TearDown() override {
    if (main_) main_->m_pOsd[kLevel].reset();
    orv::desktop::SetConfig(orv::desktop::Config{});
    LevelTest::TearDown();
  }
  HWND Osd() const { return main_->m_pOsd[kLevel]->GetSafeHwnd(); }
  // Reports the brightness as the sink does; the picture of the step the level
  // OSD then shows ("" when it shows nothing), and hides it again.
  std::string Report(int brightness) {
    SendMessageA(hwnd_, WM_BRIGHTNESS_CHANGED, static_cast<WPARAM>(brightness), 0);
    std::string shown;
    if (IsWindowVisible(Osd())) {
      const orv::gfx::Surface frame = osdtest::Frame();
      const RECT r = osdtest::WindowRect(Osd());
      for (int step = 0; step <= 8 && shown.empty(); ++step) {
        const std::string name = "OSD/Brightness/Brightness_0" + std::to_string(step) + ".png";
        std::string why;
        if (osdtest::Shows(frame, bare_, osdtest::Picture(name), r.left, r.top, &why)) shown = name;
      }
      if (shown.empty()) shown = "an unknown picture";
      main_->HideOsd(kLevel);
    }
    return shown;
  }
  orv::gfx::Surface bare_;
};

TEST(BrightnessStep, ZeroAndBelowTheRangeGiveZeroEachTenAboveTwentyOneMoreAndAboveAHundredEight) {
  EXPECT_EQ(BrightnessStep(0), 0);
  for (int b = 1; b < 30; ++b) EXPECT_EQ(BrightnessStep(b), 0) << b;
  for (int b = 30; b < 100; ++b) EXPECT_EQ(BrightnessStep(b), b / 10 - 2) << b;
  for (int b = 100; b <= 255; ++b) EXPECT_EQ(BrightnessStep(b), 8) << b;
  EXPECT_EQ(BrightnessStep(-5), 0);
}

TEST_F(BrightnessOsd, EachReportShowsItsStepAboveTheRangeTheHighestAndBelowItTheLowest) {
  main_->m_nBrightness = 80;
  EXPECT_EQ(Report(150), "OSD/Brightness/Brightness_08.png");
  EXPECT_EQ(main_->m_nBrightness, 150);
  EXPECT_EQ(Report(255), "OSD/Brightness/Brightness_08.png");
  EXPECT_EQ(Report(101), "OSD/Brightness/Brightness_08.png");
  EXPECT_EQ(Report(100), "OSD/Brightness/Brightness_08.png");
  EXPECT_EQ(Report(45), "OSD/Brightness/Brightness_02.png");
  EXPECT_EQ(Report(10), "OSD/Brightness/Brightness_00.png");
  EXPECT_EQ(Report(0), "OSD/Brightness/Brightness_00.png");
  EXPECT_EQ(Report(0), "") << "a repeat shows nothing";
}

TEST_F(BrightnessOsd, AfterAPowerSourceChangeAnUnchangedBrightnessShowsOnceAndAChangedOneAsAlways) {
  main_->m_nBrightness = 60;
  EXPECT_EQ(Report(60), "");
  main_->m_bPowerSourceChanged = true;
  EXPECT_EQ(Report(60), "OSD/Brightness/Brightness_04.png");
  EXPECT_FALSE(main_->m_bPowerSourceChanged);
  EXPECT_EQ(Report(60), "") << "shown once only";
  // A change while the flag is set shows as a change, and the flag waits for a repeat.
  main_->m_bPowerSourceChanged = true;
  EXPECT_EQ(Report(70), "OSD/Brightness/Brightness_05.png");
  EXPECT_TRUE(main_->m_bPowerSourceChanged);
  EXPECT_EQ(Report(70), "OSD/Brightness/Brightness_05.png");
  EXPECT_FALSE(main_->m_bPowerSourceChanged);
}

}  // namespace
}  // namespace leveltest
