// Hand-made connections to a pipe's socket.
#include "tests/support/raw_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace orv::test {

RawClient::RawClient(const std::string& path, bool blocking) {
  fd_ = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK), 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (fd_ < 0 || path.size() >= sizeof addr.sun_path) return;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
}

RawClient::~RawClient() { Close(); }

void RawClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  connected_ = false;
}

bool RawClient::Send(const std::string& message) {
  return fd_ >= 0 && send(fd_, message.data(), message.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(message.size());
}

std::string RawClient::Receive(std::chrono::milliseconds timeout) {
  pollfd p{fd_, POLLIN, 0};
  if (fd_ < 0 || poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return "<none>";
  std::vector<char> buf(65536);
  ssize_t n = recv(fd_, buf.data(), buf.size(), MSG_DONTWAIT);
  if (n <= 0) return "<closed>";
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

}  // namespace orv::test
