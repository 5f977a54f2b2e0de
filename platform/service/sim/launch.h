// Starting a service's program: StartServiceA starts the manager's watcher for
// the service as a detached process (its own session, no terminal, reparented
// to init), and the watcher starts the program as its child, so it learns when
// the program ends and can carry out the failure actions.
#pragma once
#include <sys/types.h>

#include "platform/base/sim/unique_fd.h"
#include "platform/service/sim/database.h"

namespace orv::svc {

// The environment variables through which the dispatcher learns that the manager
// started it: the service's name and the descriptor to report readiness on.
constexpr char kServiceEnv[] = "ORV_SCM_SERVICE";
constexpr char kReadyFdEnv[] = "ORV_SCM_READY_FD";
// The dispatcher writes this byte once its control channel listens.
constexpr char kReadyByte = 'R';

// Serialises starts of one service across processes.
class StartLock {
 public:
  explicit StartLock(const std::string& name);

 private:
  orv::sim::unique_fd fd_;  // closing it lets go of the lock
};

// Starts the watcher (orv-scm supervise NAME), which starts the program, and
// waits until the program's dispatcher is ready. ERROR_SUCCESS, the exec failure
// (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED...) or ERROR_SERVICE_REQUEST_TIMEOUT.
DWORD LaunchService(const db::Config& config);

// In the watcher: starts the program as a child of the calling process, handing
// it readyFd to report on. The child's pid, or -1 with *error set.
pid_t StartProgram(const db::Config& config, int readyFd, DWORD* error);

// Waits on the read end of a ready channel for the dispatcher's byte:
// ERROR_SUCCESS, the program's exec failure or ERROR_SERVICE_REQUEST_TIMEOUT.
DWORD AwaitReady(int readFd);

}  // namespace orv::svc
