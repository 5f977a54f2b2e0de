// The screen watch: watchers wait for a note of change, compose the screen and
// compare it with the latest frame handed out; a different one gets the next
// number and goes to every watcher still waiting for something new.
#include "platform/desktop/sim/watch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/sim/unique_fd.h"
#include "platform/desktop/sim/compositor.h"
#include "platform/desktop/sim/frame_server.h"
#include "platform/gfx/sim/png.h"
#include "platform/ui/sim/window_events.h"

namespace orv::desktop {
namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned long long kMaxFrame = 999999999999999999ull;  // 18 digits: no overflow on the way

struct Watch {
  // Notes of change, and the watchers' count; held only for moments, since the
  // programs' threads take it on every message they handle.
  std::mutex mutex;
  std::condition_variable changed;
  std::uint64_t notes = 0;
  int watchers = 0;
  int composing = 0;
  bool closing = false;  // the process is ending: nothing is composed any more
  bool observing = false;
  // The latest frame handed out and its answer.
  std::mutex frameMutex;
  std::uint64_t number = 0;
  gfx::Surface frame;
  std::string answer;  // "FRAME n\nPNG bytes\n" and the picture
};

Watch& TheWatch() {
  static Watch* watch = new Watch;  // watchers may still run during exit
  return *watch;
}

// At exit the compositor's fonts and pictures go away: no watcher may be drawing then.
void CloseAtExit() {
  Watch& w = TheWatch();
  std::unique_lock<std::mutex> lock(w.mutex);
  w.closing = true;
  w.changed.notify_all();
  w.changed.wait(lock, [&] { return w.composing == 0; });
}

// Sends everything before the deadline; false when the peer does not take it.
bool SendWithin(int fd, const std::string& data, Clock::time_point deadline) {
  std::size_t done = 0;
  while (done < data.size()) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLOUT, 0};
    int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Composes the screen; a frame unlike the latest becomes the latest, numbered
// next. The latest number, or 0 when the process is ending.
std::uint64_t Refresh(Watch& w) {
  {
    std::lock_guard<std::mutex> lock(w.mutex);
    if (w.closing) return 0;
    ++w.composing;
  }
  gfx::Surface frame;
  ComposeFrame(&frame);
  std::uint64_t number;
  {
    std::lock_guard<std::mutex> lock(w.frameMutex);
    if (w.number == 0 || frame.width != w.frame.width || frame.height != w.frame.height ||
        frame.pixels != w.frame.pixels) {
      std::vector<std::uint8_t> png;
      if (gfx::EncodePng(frame, &png, gfx::PngSpeed::Fast) == gfx::Ok) {
        w.frame = std::move(frame);
        ++w.number;
        w.answer = "FRAME " + std::to_string(w.number) + "\nPNG " + std::to_string(png.size()) + "\n" +
                   std::string(png.begin(), png.end());
      }
    }
    number = w.number;
  }
  std::lock_guard<std::mutex> lock(w.mutex);
  if (--w.composing == 0) w.changed.notify_all();
  return w.closing ? 0 : number;
}

void Answer(sim::unique_fd client, std::uint64_t seen, int waitMs) {
  Watch& w = TheWatch();
  const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  std::string answer;
  for (;;) {
    std::uint64_t notes;
    {
      std::lock_guard<std::mutex> lock(w.mutex);
      notes = w.notes;
    }
    const std::uint64_t latest = Refresh(w);
    if (latest == 0) break;  // ending: the closed connection tells the client
    if (latest != seen) {
      std::lock_guard<std::mutex> lock(w.frameMutex);
      answer = w.answer;
      break;
    }
    std::unique_lock<std::mutex> lock(w.mutex);
    if (!w.changed.wait_until(lock, deadline, [&] { return w.notes != notes || w.closing; })) {
      answer = "SAME " + std::to_string(seen) + "\n";
      break;
    }
  }
  if (!answer.empty()) SendWithin(client.get(), answer, Clock::now() + std::chrono::seconds(5));
  std::lock_guard<std::mutex> lock(w.mutex);
  --w.watchers;
}

void OnHandled() { NoteScreenChange(); }

// A run of decimal digits ending at a space or the end; false otherwise.
bool Number(const std::string& s, std::size_t* at, unsigned long long max, unsigned long long* out) {
  std::size_t i = *at;
  unsigned long long v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    v = v * 10 + static_cast<unsigned>(s[i] - '0');
    if (v > max) return false;
    ++i;
  }
  if (i == *at || (i < s.size() && s[i] != ' ')) return false;
  *out = v;
  *at = i;
  return true;
}

}  // namespace

void NoteScreenChange() {
  Watch& w = TheWatch();
  {
    std::lock_guard<std::mutex> lock(w.mutex);
    if (w.watchers == 0) return;
    ++w.notes;
  }
  w.changed.notify_all();
}

bool ParseWatch(const std::string& request, std::uint64_t* frame, int* waitMs) {
  static const std::string kName = "WATCH ";
  if (request.compare(0, kName.size(), kName) != 0) return false;
  std::size_t at = kName.size();
  unsigned long long seen = 0, ms = 0;
  if (!Number(request, &at, kMaxFrame, &seen) || at >= request.size()) return false;
  ++at;
  if (!Number(request, &at, kMaxWatchMs, &ms) || at != request.size()) return false;
  *frame = seen;
  *waitMs = static_cast<int>(ms);
  return true;
}

bool TakeWatch(int client, const std::string& request) {
  if (request != "WATCH" && request.compare(0, 6, "WATCH ") != 0) return false;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  std::uint64_t seen = 0;
  int waitMs = 0;
  if (!ParseWatch(request, &seen, &waitMs)) {
    SendWithin(client, "ERR watch takes a frame number and milliseconds 0.." + std::to_string(kMaxWatchMs) + "\n",
               deadline);
    return true;
  }
  sim::unique_fd own(::fcntl(client, F_DUPFD_CLOEXEC, 0));
  if (!own) {
    SendWithin(client, "ERR cannot watch\n", deadline);
    return true;
  }
  Watch& w = TheWatch();
  {
    std::lock_guard<std::mutex> lock(w.mutex);
    if (w.closing || w.watchers >= kMaxWatchers) {
      SendWithin(client, "ERR too many watchers\n", deadline);
      return true;
    }
    ++w.watchers;
    if (!w.observing) {
      w.observing = true;
      ui::SetHandledObserver(OnHandled);
      std::atexit(CloseAtExit);
    }
  }
  std::thread(Answer, std::move(own), seen, waitMs).detach();
  return true;
}

gfx::Status RequestWatch(std::uint64_t seen, int waitMs, std::uint64_t* frame, std::string* png) {
  std::string reply;
  gfx::Status s = RequestText("WATCH " + std::to_string(seen) + " " + std::to_string(waitMs), &reply, waitMs + 10000);
  if (s != gfx::Ok) return s;
  png->clear();
  if (reply == "SAME " + std::to_string(seen) + "\n") {
    *frame = seen;
    return gfx::Ok;
  }
  // "FRAME n", "PNG bytes" and exactly that many bytes.
  std::size_t first = reply.find('\n'), second = first == std::string::npos ? first : reply.find('\n', first + 1);
  if (reply.rfind("FRAME ", 0) != 0 || second == std::string::npos || reply.compare(first + 1, 4, "PNG ") != 0)
    return reply.empty() ? gfx::Aborted : gfx::GenericError;
  char* end = nullptr;
  const unsigned long long number = std::strtoull(reply.c_str() + 6, &end, 10);
  const unsigned long long size = std::strtoull(reply.c_str() + first + 5, nullptr, 10);
  if (end != reply.c_str() + first || number == 0 || size != reply.size() - second - 1) return gfx::GenericError;
  *frame = number;
  *png = reply.substr(second + 1);
  return gfx::Ok;
}

}  // namespace orv::desktop
