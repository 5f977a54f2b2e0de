// The simulated backend's owning descriptor: the owning-handle template of the
// programs, for POSIX descriptors, so no path of the backend can leak or
// double-close one.
#pragma once
#include <unistd.h>

#include "platform/base/unique_handle.h"

namespace orv::sim {

struct fd_traits {
  using type = int;
  static int invalid() { return -1; }
  static void close(int fd) { ::close(fd); }
};

using unique_fd = orv::unique_any<fd_traits>;

}  // namespace orv::sim
