// Starting a service's program as a detached process (its own session, no
// terminal, reparented to init) that knows it was started by the manager.
#pragma once
#include "platform/service/sim/database.h"

namespace orv::svc {

// The environment variables through which the dispatcher learns that the manager
// started it: the service's name and the descriptor to report readiness on.
constexpr char kServiceEnv[] = "ORV_SCM_SERVICE";
constexpr char kReadyFdEnv[] = "ORV_SCM_READY_FD";
// The dispatcher writes this byte once its control channel listens.
constexpr char kReadyByte = 'R';

// Launches the program and waits until its dispatcher is ready. ERROR_SUCCESS, the
// exec failure (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED...) or ERROR_SERVICE_REQUEST_TIMEOUT.
DWORD LaunchService(const db::Config& config);

}  // namespace orv::svc
