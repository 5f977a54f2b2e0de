// Thread and process ids from the kernel's own numbering (unique while they run).
#include "platform/base/thread.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace orv::win {

DWORD GetCurrentThreadId() {
  static thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

}  // namespace orv::win
