// No peer can hold the desktop's socket loop: whole reads and writes end at
// their deadline or at once on a wake, and a client that stops reading or never
// sends its request keeps neither the next client waiting for ever nor the
// serving process from ending.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "platform/base/sim/unique_fd.h"
#include "platform/desktop/sim/frame_server.h"
#include "platform/desktop/sim/stream_io.h"
#include "tests/support/process.h"

namespace {

using orv::sim::unique_fd;
using Clock = std::chrono::steady_clock;

struct Pair {
  unique_fd a, b;
  Pair() {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
    a.reset(fds[0]);
    b.reset(fds[1]);
    int small = 4096;
    ::setsockopt(a.get(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  }
};

struct Wake {
  unique_fd read, write;
  Wake() {
    int fds[2];
    EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    read.reset(fds[0]);
    write.reset(fds[1]);
  }
  void Ring() { EXPECT_EQ(::write(write.get(), "x", 1), 1); }
};

TEST(DesktopStreams, APeerThatStopsReadingOrWritingEndsTheExchangeAtTheDeadlineOrOnAWake) {
  const std::vector<char> big(4 << 20, 'p');  // far more than any socket buffer holds
  {
    Pair p;
    EXPECT_FALSE(orv::desktop::SendAll(p.a.get(), big.data(), big.size(), Clock::now() + std::chrono::milliseconds(200)))
        << "a peer that does not read took 4 MB";
    std::string line;
    EXPECT_FALSE(orv::desktop::RecvLine(p.a.get(), &line, 100, Clock::now() + std::chrono::milliseconds(200)));
  }
  {
    // A wake ends the exchange long before its deadline.
    Pair p;
    Wake wake;
    wake.Ring();
    const auto far = Clock::now() + std::chrono::minutes(10);
    EXPECT_FALSE(orv::desktop::SendAll(p.a.get(), big.data(), big.size(), far, wake.read.get()));
    std::string line;
    EXPECT_FALSE(orv::desktop::RecvLine(p.a.get(), &line, 100, far, wake.read.get()));
    EXPECT_LT(Clock::now(), far - std::chrono::minutes(5));
  }
  {
    // A peer that keeps up gets everything.
    Pair p;
    std::string line;
    ASSERT_TRUE(orv::desktop::SendAll(p.b.get(), "one line\n", 9, Clock::now() + std::chrono::minutes(1)));
    EXPECT_TRUE(orv::desktop::RecvLine(p.a.get(), &line, 100, Clock::now() + std::chrono::minutes(1)));
    EXPECT_EQ(line, "one line");
    auto reader = std::async(std::launch::async, [&] {
      std::vector<char> got(big.size());
      return orv::desktop::RecvAll(p.b.get(), got.data(), got.size(), Clock::now() + std::chrono::minutes(2)) &&
             got == big;
    });
    EXPECT_TRUE(orv::desktop::SendAll(p.a.get(), big.data(), big.size(), Clock::now() + std::chrono::minutes(2)));
    EXPECT_TRUE(reader.get());
  }
}

// A connection to the serving socket that sends what it is given and reads nothing.
unique_fd Stalling(const std::string& path, const std::string& request) {
  unique_fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
  EXPECT_EQ(::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  if (!request.empty()) {
    EXPECT_EQ(::send(fd.get(), request.data(), request.size(), MSG_NOSIGNAL), ssize_t(request.size()));
  }
  return fd;
}

TEST(DesktopStreams, ClientsThatStallHoldNeitherTheNextClientNorTheEnd) {
  orv::test::TempHome home;
  const std::string path = home.path() + "/desktop.sock";
  ASSERT_TRUE(orv::desktop::StartFrameServer());
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "another account could drive the desktop";
  {
    unique_fd reader = Stalling(path, "FRAME\n");
    unique_fd silent = Stalling(path, "");
    std::vector<orv::desktop::DesktopWindow> windows;
    EXPECT_EQ(orv::desktop::RequestWindows(&windows, 120000), orv::gfx::Ok) << "the next client was not served";
  }
  // Ending while a client neither sends nor reads.
  unique_fd silent = Stalling(path, "");
  unique_fd reader = Stalling(path, "FRAME\n");
  auto stopped = std::async(std::launch::async, [] { orv::desktop::StopFrameServer(); });
  EXPECT_EQ(stopped.wait_for(std::chrono::minutes(2)), std::future_status::ready) << "a stalled client held the end";
  EXPECT_NE(::access(path.c_str(), F_OK), 0) << "socket left behind";
}

}  // namespace
