// Deadline-bounded whole reads and writes over poll.
#include "platform/desktop/sim/stream_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace orv::desktop {
namespace {

// Waits until fd is ready for events; false on time-out, error or a wake.
bool Ready(int fd, short events, Deadline deadline, int wake) {
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd p[2] = {{fd, events, 0}, {wake, POLLIN, 0}};  // a negative descriptor is not watched
    int n = ::poll(p, 2, static_cast<int>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || (p[1].revents & POLLIN)) return false;
    return true;  // readiness, or an error or hang-up the next call reports
  }
}

}  // namespace

bool SendAll(int fd, const void* data, std::size_t size, Deadline deadline, int wake) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!Ready(fd, POLLOUT, deadline, wake)) return false;
      continue;
    }
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool RecvAll(int fd, char* data, std::size_t size, Deadline deadline, int wake) {
  while (size > 0) {
    if (!Ready(fd, POLLIN, deadline, wake)) return false;
    ssize_t n = ::recv(fd, data, size, MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool RecvLine(int fd, std::string* line, std::size_t maxLine, Deadline deadline, int wake) {
  line->clear();
  char c;
  while (line->size() < maxLine) {
    if (!RecvAll(fd, &c, 1, deadline, wake)) return false;
    if (c == '\n') return true;
    line->push_back(c);
  }
  return false;
}

}  // namespace orv::desktop
