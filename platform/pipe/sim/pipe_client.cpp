// The client end: CallNamedPipe over the pipe's socket. A client that is still
// waiting for the server has not been welcomed yet; it waits for the welcome
// until the time-out, which is how "waiting for a busy pipe" works here. The
// request goes with the connect, so it is there as soon as the server takes the
// call; and it goes only to a server of this account or of the system, never to
// one that another account set up under the name.
#include <windows.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/base/sim/errno_map.h"
#include "platform/base/sim/unique_fd.h"
#include "platform/pipe/sim/names.h"
#include "platform/pipe/sim/wire.h"

namespace {

using namespace orv::pipe;
using orv::sim::unique_fd;
using orv::win::Win32FromErrno;

using Clock = std::chrono::steady_clock;

// The pipe's default time-out as its server recorded it.
DWORD DefaultTimeout(const PipePaths& paths) {
  unique_fd fd(open(paths.wait.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return kDefaultPipeTimeout;
  char text[32] = {};
  ssize_t n = read(fd.get(), text, sizeof text - 1);
  unsigned long v = n > 0 ? std::strtoul(text, nullptr, 10) : 0;
  return v > 0 && v < 0xFFFFFFFFul ? static_cast<DWORD>(v) : kDefaultPipeTimeout;
}

int MillisLeft(Clock::time_point deadline, bool forever) {
  if (forever) return -1;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Whether the process listening on the connected socket is of this account or of
// the system (SO_PEERCRED: the credentials of the server when it listened).
bool TrustedServer(int fd) {
  ucred cred{};
  socklen_t len = sizeof cred;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred) return false;
  return cred.uid == 0 || cred.uid == geteuid();
}

// Connects, sends the request and waits to be welcomed. ERROR_SUCCESS with fd
// set, or the failure.
DWORD Open(const PipePaths& paths, DWORD timeOut, const void* in, DWORD inSize, unique_fd* fd) {
  sockaddr_un addr{};
  if (paths.socket.size() >= sizeof addr.sun_path) return ERROR_INVALID_NAME;
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, paths.socket.c_str(), paths.socket.size() + 1);
  if (timeOut == NMPWAIT_USE_DEFAULT_WAIT) timeOut = DefaultTimeout(paths);
  const bool forever = timeOut == NMPWAIT_WAIT_FOREVER;
  if (timeOut == NMPWAIT_NOWAIT) timeOut = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeOut);
  for (;;) {
    fd->reset(socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (fd->get() < 0) return Win32FromErrno(errno);
    if (connect(fd->get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      // No socket, or one a killed server left behind: the pipe does not exist.
      if (errno == ENOENT || errno == ECONNREFUSED) return ERROR_FILE_NOT_FOUND;
      if (errno == EACCES || errno == EPERM) return ERROR_ACCESS_DENIED;
      if (errno != EAGAIN && errno != EINTR) return Win32FromErrno(errno);
      if (MillisLeft(deadline, forever) == 0) return ERROR_PIPE_BUSY;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));  // listen queue full
      continue;
    }
    if (!TrustedServer(fd->get())) return ERROR_ACCESS_DENIED;
    ssize_t sent;
    do {
      sent = send(fd->get(), in, inSize, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0 && errno != EPIPE && errno != ECONNRESET) return Win32FromErrno(errno);
    pollfd p{fd->get(), POLLIN, 0};
    int ready;
    do {
      ready = poll(&p, 1, MillisLeft(deadline, forever));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return ERROR_PIPE_BUSY;
    std::uint8_t answer = kRefused;
    ssize_t n = recv(fd->get(), &answer, 1, 0);
    if (n == 1 && sent >= 0) {
      if (answer != kWelcome) return ERROR_ACCESS_DENIED;
      int flags = fcntl(fd->get(), F_GETFL);
      fcntl(fd->get(), F_SETFL, flags & ~O_NONBLOCK);
      return ERROR_SUCCESS;
    }
    if (n == 1 && answer != kWelcome) return ERROR_ACCESS_DENIED;
    // The server went away while this client waited: try again while time is left.
    if (MillisLeft(deadline, forever) == 0) return ERROR_PIPE_BUSY;
  }
}

// Whether a live server holds the pipe: it keeps the lock file locked. A client
// of another account may not open that file, and goes by the socket being there.
bool ServerHolds(const PipePaths& paths) {
  unique_fd fd(open(paths.lock.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return errno == EACCES && access(paths.socket.c_str(), F_OK) == 0;
  return flock(fd.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

}  // namespace

extern "C" BOOL WINAPI CallNamedPipeA(LPCSTR name, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD read,
                                      DWORD timeOut) {
  if (read) *read = 0;
  PipePaths paths;
  if (!PathsOf(name, &paths)) return FALSE;
  if ((!in && inSize) || (!out && outSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  unique_fd fd;
  DWORD err = Open(paths, timeOut, in, inSize, &fd);
  if (err != ERROR_SUCCESS) {
    SetLastError(err);
    return FALSE;
  }
  char probe = 0;
  ssize_t len;
  do {
    len = recv(fd.get(), &probe, 1, MSG_PEEK | MSG_TRUNC);
  } while (len < 0 && errno == EINTR);
  if (len <= 0) {  // the server closed without replying
    SetLastError(ERROR_BROKEN_PIPE);
    return FALSE;
  }
  std::vector<char> whole(static_cast<std::size_t>(len));
  ssize_t got = recv(fd.get(), whole.data(), whole.size(), 0);
  if (got < 0) {
    SetLastError(ERROR_BROKEN_PIPE);
    return FALSE;
  }
  DWORD copied = static_cast<DWORD>(std::min<std::size_t>(static_cast<std::size_t>(got), outSize));
  if (copied) std::memcpy(out, whole.data(), copied);
  if (read) *read = copied;
  if (static_cast<std::size_t>(got) > outSize) {
    SetLastError(ERROR_MORE_DATA);
    return FALSE;
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}


extern "C" BOOL WINAPI WaitNamedPipeA(LPCSTR name, DWORD) {
  PipePaths paths;
  if (!PathsOf(name, &paths)) return FALSE;
  if (!ServerHolds(paths)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
