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

WaitingRoom::~WaitingRoom() {
  for (const Caller& c : callers_) close(c.fd);
}

void WaitingRoom::Sweep() {
  if (callers_.empty()) return;
  std::vector<pollfd> fds;
  for (const Caller& c : callers_) fds.push_back(pollfd{c.fd, POLLIN | POLLRDHUP, 0});
  if (poll(fds.data(), fds.size(), 0) < 0) return;  // looked at again next time
  const auto now = Clock::now();
  std::deque<Caller> staying;
  for (std::size_t i = 0; i < callers_.size(); ++i) {
    Caller c = callers_[i];
    const short ev = fds[i].revents;
    c.hasRequest = (ev & POLLIN) != 0;
    const bool gone = (ev & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL)) != 0;
    if (gone || (!c.hasRequest && now - c.since > patience_)) {
      close(c.fd);
    } else {
      staying.push_back(c);
    }
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
    int fd = accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return errno;
    }
    if (!admitted(fd)) {
      [[maybe_unused]] ssize_t sent = send(fd, &refusal, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      close(fd);
      continue;
    }
    if (callers_.size() >= capacity_) {
      auto silent = OldestSilent();
      close(silent->fd);
      callers_.erase(silent);
    }
    callers_.push_back(Caller{fd, Clock::now(), false});
  }
  return 0;
}

int WaitingRoom::Next() {
  Sweep();
  if (callers_.empty()) return -1;
  auto it = std::find_if(callers_.begin(), callers_.end(), [](const Caller& c) { return c.hasRequest; });
  if (it == callers_.end()) it = callers_.begin();
  int fd = it->fd;
  callers_.erase(it);
  return fd;
}

}  // namespace orv::pipe
