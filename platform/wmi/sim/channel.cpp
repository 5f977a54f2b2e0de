// Unix-domain stream socket carrying length-prefixed frames.
#include "platform/wmi/sim/channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/home/sim/home.h"
#include "platform/wmi/sim/wire.h"

namespace orv::wmi {

std::string ProviderSocketPath() { return home::Path("wmi/provider.sock"); }

Channel::~Channel() = default;

void Channel::Close() { fd_.reset(); }

bool Channel::Connect(const std::string& path) {
  Close();
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  orv::sim::unique_fd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd || connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return false;
  fd_ = std::move(fd);
  return true;
}

bool Channel::Send(const std::string& body) {
  if (!fd_) return false;
  std::string frame = wire::LengthPrefix(body.size()) + body;
  std::size_t done = 0;
  while (done < frame.size()) {
    ssize_t n = ::send(fd_.get(), frame.data() + done, frame.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool Channel::ReadExact(char* p, std::size_t n, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (n > 0) {
    if (timeoutMs >= 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd pfd{fd_.get(), POLLIN, 0};
      int r = poll(&pfd, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) return false;
    }
    ssize_t got = ::recv(fd_.get(), p, n, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

bool Channel::Receive(std::string* body, int timeoutMs) {
  if (!fd_) return false;
  char head[4];
  if (!ReadExact(head, 4, timeoutMs)) return false;
  std::uint32_t len = wire::DecodeLength(head);
  if (len > wire::kMaxFrame) return false;
  body->assign(len, '\0');
  return len == 0 || ReadExact(&(*body)[0], len, timeoutMs);
}

bool Channel::Call(const std::string& request, std::string* reply, int timeoutMs) {
  return Send(request) && Receive(reply, timeoutMs);
}

int Channel::WaitReadable(int wakeFd) {
  if (!fd_) return -1;
  for (;;) {
    pollfd pfd[2] = {{fd_.get(), POLLIN, 0}, {wakeFd, POLLIN, 0}};
    int r = poll(pfd, 2, -1);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (pfd[1].revents) return 0;
    if (pfd[0].revents) return 1;
  }
}

}  // namespace orv::wmi
