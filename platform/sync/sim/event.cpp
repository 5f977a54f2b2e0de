// Events on eventfd: the counter is non-zero while signalled; an auto-reset
// event is consumed by reading it, a manual-reset one only by ResetEvent.
#include <windows.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <vector>

#include "platform/base/sim/unique_fd.h"
#include "platform/base/sim/errno_map.h"
#include "platform/sync/sim/waitable.h"

namespace {

using orv::win::Win32FromErrno;
using orv::win::LookupHandleAs;
using orv::win::Taken;
using orv::win::Waitable;

// How often a wait tries again the objects that have no descriptor to poll.
constexpr int kRetryMs = 5;

class EventObject : public Waitable {
 public:
  EventObject(orv::sim::unique_fd fd, bool manual) : fd_(std::move(fd)), manual_(manual) {}
  int WaitFd() const override { return fd_.get(); }
  Taken Take() override {
    if (manual_) return Taken::Signal;
    std::uint64_t v = 0;
    return read(fd_.get(), &v, sizeof v) == static_cast<ssize_t>(sizeof v) ? Taken::Signal : Taken::Nothing;
  }
  void Set() {
    std::uint64_t one = 1;
    // A counter at its limit is still signalled, so a failed write changes nothing.
    [[maybe_unused]] ssize_t n = write(fd_.get(), &one, sizeof one);
  }
  void Reset() {
    std::uint64_t v = 0;
    [[maybe_unused]] ssize_t n = read(fd_.get(), &v, sizeof v);
  }

 private:
  orv::sim::unique_fd fd_;
  bool manual_;
};

std::shared_ptr<EventObject> EventOf(HANDLE handle) {
  auto event = LookupHandleAs<EventObject>(handle);
  if (!event) SetLastError(ERROR_INVALID_HANDLE);
  return event;
}

}  // namespace

extern "C" HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName) {
  if (lpName) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  orv::sim::unique_fd fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!fd) {
    SetLastError(Win32FromErrno(errno));
    return nullptr;
  }
  auto event = std::make_shared<EventObject>(std::move(fd), bManualReset != FALSE);
  if (bInitialState) event->Set();
  SetLastError(ERROR_SUCCESS);
  return orv::win::RegisterHandle(event);
}

extern "C" BOOL WINAPI SetEvent(HANDLE handle) {
  auto event = EventOf(handle);
  if (!event) return FALSE;
  event->Set();
  return TRUE;
}

extern "C" BOOL WINAPI ResetEvent(HANDLE handle) {
  auto event = EventOf(handle);
  if (!event) return FALSE;
  event->Reset();
  return TRUE;
}

extern "C" DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles || waitAll) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  // Held for the whole wait, so a handle closed meanwhile cannot free its object under us.
  std::vector<std::shared_ptr<Waitable>> objects(count);
  std::vector<pollfd> fds(count);
  bool retry = false;
  for (DWORD i = 0; i < count; ++i) {
    objects[i] = LookupHandleAs<Waitable>(handles[i]);
    if (!objects[i]) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    fds[i] = pollfd{objects[i]->WaitFd(), POLLIN, 0};  // poll passes over a descriptor of -1
    retry = retry || fds[i].fd < 0;
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (bool last = false;;) {
    for (DWORD i = 0; i < count; ++i) {
      if (fds[i].fd >= 0 && !(fds[i].revents & POLLIN)) continue;
      Taken taken = objects[i]->Take();
      if (taken == Taken::Signal) return WAIT_OBJECT_0 + i;
      if (taken == Taken::Abandoned) return WAIT_ABANDONED_0 + i;
    }
    if (last) return WAIT_TIMEOUT;
    int timeout = -1;
    if (milliseconds != INFINITE) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      timeout = left > 0 ? static_cast<int>(left) : 0;
    }
    if (retry && (timeout < 0 || timeout > kRetryMs)) timeout = kRetryMs;
    int n = poll(fds.data(), fds.size(), timeout);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastError(Win32FromErrno(errno));
      return WAIT_FAILED;
    }
    // The round after the deadline passed still takes what is there by then.
    if (milliseconds != INFINITE && Clock::now() >= deadline) last = true;
  }
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

