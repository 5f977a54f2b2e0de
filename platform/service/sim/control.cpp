// Both ends of the control channel.
#include "platform/service/sim/control.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/base/sim/errno_map.h"

namespace orv::svc::control {
namespace {

using orv::win::Win32FromErrno;

bool Address(const std::string& path, sockaddr_un* addr) {
  if (path.size() >= sizeof addr->sun_path) return false;
  *addr = sockaddr_un{};
  addr->sun_family = AF_UNIX;
  std::memcpy(addr->sun_path, path.c_str(), path.size() + 1);
  return true;
}

}  // namespace

DWORD Send(const std::string& socketPath, DWORD control, Reply* reply) {
  sockaddr_un addr;
  if (!Address(socketPath, &addr)) return ERROR_INVALID_NAME;
  orv::sim::unique_fd fd(socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
  if (!fd) return Win32FromErrno(errno);
  DWORD err = ERROR_SUCCESS;
  if (connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    err = ERROR_SERVICE_NOT_ACTIVE;
  } else if (send(fd.get(), &control, sizeof control, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof control)) {
    err = ERROR_SERVICE_NOT_ACTIVE;
  } else {
    pollfd p{fd.get(), POLLIN, 0};
    int ready;
    do {
      ready = poll(&p, 1, kReplyTimeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) {
      err = ERROR_SERVICE_REQUEST_TIMEOUT;
    } else if (recv(fd.get(), reply, sizeof *reply, 0) != static_cast<ssize_t>(sizeof *reply)) {
      err = ERROR_SERVICE_NOT_ACTIVE;  // the process ended while the control was on its way
    }
  }
  return err;
}

orv::sim::unique_fd Listen(const std::string& socketPath) {
  sockaddr_un addr;
  if (!Address(socketPath, &addr)) {
    SetLastError(ERROR_INVALID_NAME);
    return {};
  }
  unlink(socketPath.c_str());  // left by a killed service process
  orv::sim::unique_fd fd(socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
  if (!fd || bind(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      chmod(socketPath.c_str(), 0600) != 0 || listen(fd.get(), 8) != 0) {
    SetLastError(Win32FromErrno(errno));
    return {};
  }
  return fd;
}

}  // namespace orv::svc::control
