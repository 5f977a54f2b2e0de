// The screen watch: a watcher is answered with the frame as soon as the screen
// shows something other than the frame it has, "SAME" when nothing new came
// within its own wait, and an error for a malformed request.
#include <gtest/gtest.h>

#include <future>
#include <string>

#include "platform/desktop/sim/frame_server.h"
#include "platform/desktop/sim/watch.h"
#include "platform/gfx/sim/png.h"
#include "tests/desktop/desktop_support.h"
#include "tests/support/process.h"

namespace {

using orv::desktop::RequestWatch;

orv::gfx::Surface Decoded(const std::string& png) {
  orv::gfx::Surface s;
  EXPECT_EQ(orv::gfx::DecodePng(png.data(), png.size(), &s), orv::gfx::Ok);
  return s;
}

struct Answer {
  orv::gfx::Status status = orv::gfx::GenericError;
  std::uint64_t frame = 0;
  std::string png;
};

Answer Watch(std::uint64_t seen, int waitMs) {
  Answer a;
  a.status = RequestWatch(seen, waitMs, &a.frame, &a.png);
  return a;
}

}  // namespace

TEST(DesktopWatch, AWatcherGetsEachNewFrameAsItIsShownAndSameWhenNothingChanged) {
  orv::test::TempHome home;
  HWND window = desktoptest::ShowPlainWindow(RECT{100, 100, 160, 160});
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(orv::desktop::ServingHere());

  // The first watch is answered at once with the screen as it is.
  Answer first = Watch(0, 60000);
  ASSERT_EQ(first.status, orv::gfx::Ok);
  ASSERT_GT(first.frame, 0u);
  ASSERT_FALSE(first.png.empty());
  const orv::gfx::Surface before = Decoded(first.png);
  ASSERT_TRUE(before.Contains(320, 320));

  // Nothing changes: the watch ends at its own expiry with the same number.
  Answer quiet = Watch(first.frame, 300);
  ASSERT_EQ(quiet.status, orv::gfx::Ok);
  EXPECT_EQ(quiet.frame, first.frame);
  EXPECT_TRUE(quiet.png.empty());

  // A watch waiting when the window moves is answered with the moved window,
  // whether its wait began before the move or after it.
  std::future<Answer> waiting = std::async(std::launch::async, Watch, first.frame, 60000);
  ASSERT_TRUE(MoveWindow(window, 300, 300, 60, 60, TRUE));
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(90)), std::future_status::ready);
  Answer moved = waiting.get();
  ASSERT_EQ(moved.status, orv::gfx::Ok);
  ASSERT_GT(moved.frame, first.frame) << "the watch ended without the move";
  const orv::gfx::Surface after = Decoded(moved.png);
  EXPECT_NE(after.At(320, 320), before.At(320, 320)) << "the new frame shows the window at its new place";
  EXPECT_NE(after.At(120, 120), before.At(120, 120)) << "and no longer where it was";

  DestroyWindow(window);
}

TEST(DesktopWatch, MalformedWatchesAreRefusedAndTheServerGoesOn) {
  orv::test::TempHome home;
  HWND window = desktoptest::ShowPlainWindow(RECT{100, 100, 160, 160});
  ASSERT_NE(window, nullptr);
  for (const char* bad : {"WATCH", "WATCH 1", "WATCH x 10", "WATCH 1 60001", "WATCH -1 10", "WATCH 1 10 more",
                          "WATCH 99999999999999999999 10"}) {
    std::string reply;
    ASSERT_EQ(orv::desktop::RequestText(bad, &reply), orv::gfx::Ok) << bad;
    EXPECT_EQ(reply.rfind("ERR ", 0), 0u) << bad << " got " << reply;
  }
  Answer ok = Watch(0, 1000);
  EXPECT_EQ(ok.status, orv::gfx::Ok);
  EXPECT_GT(ok.frame, 0u);
  DestroyWindow(window);
}
