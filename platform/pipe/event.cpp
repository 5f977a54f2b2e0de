// Events on eventfd: the counter is non-zero while signalled; an auto-reset
// event is consumed by reading it, a manual-reset one only by ResetEvent.
#include "platform/pipe/event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <vector>

namespace orv::pipe {
namespace {

class EventObject : public Waitable {
 public:
  EventObject(int fd, bool manual) : fd_(fd), manual_(manual) {}
  ~EventObject() override { close(fd_); }
  int WaitFd() const override { return fd_; }
  bool ConsumeSignal() override {
    if (manual_) return true;
    std::uint64_t v = 0;
    return read(fd_, &v, sizeof v) == static_cast<ssize_t>(sizeof v);
  }
  void Set() {
    std::uint64_t one = 1;
    // A counter at its limit is still signalled, so a failed write changes nothing.
    [[maybe_unused]] ssize_t n = write(fd_, &one, sizeof one);
  }
  void Reset() {
    std::uint64_t v = 0;
    [[maybe_unused]] ssize_t n = read(fd_, &v, sizeof v);
  }

 private:
  int fd_;
  bool manual_;
};

std::shared_ptr<EventObject> EventOf(HANDLE handle) {
  auto event = LookupHandleAs<EventObject>(handle);
  if (!event) SetLastError(ERROR_INVALID_HANDLE);
  return event;
}

}  // namespace

HANDLE CreateEvent(SECURITY_ATTRIBUTES*, BOOL manualReset, BOOL initialState, const char* name) {
  if (name) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd < 0) {
    SetLastError(Win32FromErrno(errno));
    return nullptr;
  }
  auto event = std::make_shared<EventObject>(fd, manualReset != FALSE);
  if (initialState) event->Set();
  SetLastError(ERROR_SUCCESS);
  return RegisterHandle(event);
}

BOOL SetEvent(HANDLE handle) {
  auto event = EventOf(handle);
  if (!event) return FALSE;
  event->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
  auto event = EventOf(handle);
  if (!event) return FALSE;
  event->Reset();
  return TRUE;
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles || waitAll) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  // Held for the whole wait, so a handle closed meanwhile cannot free its object under us.
  std::vector<std::shared_ptr<Waitable>> objects(count);
  std::vector<pollfd> fds(count);
  for (DWORD i = 0; i < count; ++i) {
    objects[i] = LookupHandleAs<Waitable>(handles[i]);
    if (!objects[i]) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    fds[i] = pollfd{objects[i]->WaitFd(), POLLIN, 0};
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    int timeout = -1;
    if (milliseconds != INFINITE) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      timeout = left > 0 ? static_cast<int>(left) : 0;
    }
    int n = poll(fds.data(), fds.size(), timeout);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastError(Win32FromErrno(errno));
      return WAIT_FAILED;
    }
    for (DWORD i = 0; i < count; ++i) {
      if ((fds[i].revents & POLLIN) && objects[i]->ConsumeSignal()) return WAIT_OBJECT_0 + i;
    }
    if (timeout == 0) return WAIT_TIMEOUT;
  }
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

}  // namespace orv::pipe
