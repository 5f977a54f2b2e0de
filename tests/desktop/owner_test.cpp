// Which process serves the screen of a state folder: the first that shows a
// window of its own, taking over a socket that a dead process left behind, never
// displacing a live owner, and taking its socket along when it ends.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <csignal>
#include <vector>

#include "platform/desktop/sim/frame_server.h"
#include "tests/desktop/desktop_support.h"
#include "tests/support/process.h"

namespace {

// Whether the serving process lists a visible window whose left edge is at x.
bool Lists(int x) {
  std::vector<orv::desktop::DesktopWindow> windows;
  if (orv::desktop::RequestWindows(&windows) != orv::gfx::Ok) return false;
  for (const auto& w : windows)
    if (w.visible && w.rect.left == x) return true;
  return false;
}

// A socket file nobody listens on, as a process that was killed leaves it.
void LeaveDeadSocket(const std::string& path) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);
}

}  // namespace

TEST(DesktopOwner, TheFirstProcessToShowAWindowServesUntilItEnds) {
  orv::test::TempHome home;
  const std::string socket = home.path() + "/desktop.sock";
  LeaveDeadSocket(socket);
  ASSERT_TRUE(std::filesystem::exists(socket));

  orv::test::Child holder({orv::test::Program("desktop-holder")});
  ASSERT_TRUE(orv::test::WaitFor([] { return Lists(100); }, std::chrono::seconds(20)))
      << "the holder never served its window; it said: " << holder.Output();

  // This process shows a window too, but the live owner keeps the screen.
  HWND mine = desktoptest::ShowPlainWindow(RECT{300, 300, 370, 370});
  ASSERT_NE(mine, nullptr);
  EXPECT_FALSE(orv::desktop::ServingHere());
  EXPECT_TRUE(Lists(100));
  EXPECT_FALSE(Lists(300));

  holder.Signal(SIGTERM);
  ASSERT_EQ(holder.Wait(std::chrono::seconds(20)), 0);
  EXPECT_FALSE(std::filesystem::exists(socket)) << "the owner left its socket behind";

  // With the owner gone, the next window this process shows makes it the owner.
  ShowWindow(mine, SW_HIDE);
  ShowWindow(mine, SW_SHOWNA);
  EXPECT_TRUE(orv::desktop::ServingHere());
  EXPECT_TRUE(Lists(300));
  DestroyWindow(mine);
}
