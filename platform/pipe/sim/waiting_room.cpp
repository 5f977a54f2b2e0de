// The waiting room of a pipe: callers taken off the listen queue, each looked at
// with one poll before the server picks the next.
#include "platform/pipe/sim/waiting_room.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace orv::pipe {

WaitingRoom::WaitingRoom(std::size_t capacity, std::chrono::milliseconds patience)
    : capacity_(capacity), patience_(patience) {}

void WaitingRoom::Sweep() {
  if (callers_.empty()) return;
  std::vector<pollfd> fds;
  for (const Caller& c : callers_) fds.push_back(pollfd{c.fd.get(), POLLIN | POLLRDHUP, 0});
  if (poll(fds.data(), fds.size(), 0) < 0) return;  // looked at again next time
  const auto now = Clock::now();
  std::deque<Caller> staying;
  for (std::size_t i = 0; i < callers_.size(); ++i) {
    Caller& c = callers_[i];
    const short ev = fds[i].revents;
    c.hasRequest = (ev & POLLIN) != 0;
    const bool gone = (ev & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL)) != 0;
    // One sent away is closed with the old room.
    if (!gone && (c.hasRequest || now - c.since <= patience_)) staying.push_back(std::move(c));
  }
  callers_.swap(staying);
}

std::deque<WaitingRoom::Caller>::iterator WaitingRoom::OldestSilent() {
  return std::find_if(callers_.begin(), callers_.end(), [](const Caller& c) { return !c.hasRequest; });
}

bool WaitingRoom::HasRoom() {
  Sweep();
  return callers_.size() < capacity_ || OldestSilent() != callers_.end();
}

int WaitingRoom::Gather(int listenFd, const std::function<bool(int)>& admitted, std::uint8_t refusal) {
  while (HasRoom()) {
    orv::sim::unique_fd fd(accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return errno;
    }
    if (!admitted(fd.get())) {
      [[maybe_unused]] ssize_t sent = send(fd.get(), &refusal, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      continue;
    }
    if (callers_.size() >= capacity_) callers_.erase(OldestSilent());
    callers_.push_back(Caller{std::move(fd), Clock::now(), false});
  }
  return 0;
}

orv::sim::unique_fd WaitingRoom::Next() {
  Sweep();
  if (callers_.empty()) return {};
  auto it = std::find_if(callers_.begin(), callers_.end(), [](const Caller& c) { return c.hasRequest; });
  if (it == callers_.end()) it = callers_.begin();
  orv::sim::unique_fd fd = std::move(it->fd);
  callers_.erase(it);
  return fd;
}

}  // namespace orv::pipe
