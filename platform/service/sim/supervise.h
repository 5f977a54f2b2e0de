// The manager's watcher of one service (orv-scm supervise NAME, started by
// StartServiceA): the service's program runs as its child, so it sees the
// program end and carries out the failure actions, as the manager's own process
// does on Windows.
#pragma once
#include <string>

namespace orv::svc {

// Starts the program with the ready descriptor the environment names, and
// starts it again as its failure actions say each time it ends without having
// reported SERVICE_STOPPED; returns once it has stopped properly, was not
// restarted, is removed or was started by another caller. The process's exit code.
int Supervise(const std::string& name);

}  // namespace orv::svc
