// The watcher's loop: wait for the program, judge its end, act on a failure.
#include "platform/service/sim/supervise.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/service/sim/database.h"
#include "platform/service/sim/launch.h"
#include "platform/service/sim/recovery.h"

namespace orv::svc {
namespace {

long long Now() { return std::chrono::duration_cast<std::chrono::seconds>(
                      std::chrono::system_clock::now().time_since_epoch()).count(); }

// Waits for the child to end; false when there is no such child.
bool Reap(pid_t child) {
  int status = 0;
  for (;;) {
    if (waitpid(child, &status, 0) == child) return true;
    if (errno != EINTR) return false;
  }
}

// Starts the program again unless it may not run any more or another start came
// first (the record is then no longer the failed run's): the new child, or -1.
pid_t Restart(const std::string& name, unsigned long long failedRun) {
  StartLock lock(name);
  db::Config config;
  if (!db::ReadConfig(name, &config) || db::MarkedForDelete(name) || config.startType == SERVICE_DISABLED) return -1;
  db::Status now = db::ReadStatus(name);
  if (now.status.dwCurrentState != SERVICE_STOPPED || now.startTime != failedRun) return -1;
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return -1;
  orv::sim::unique_fd readEnd(ready[0]), writeEnd(ready[1]);
  DWORD error = ERROR_SUCCESS;
  pid_t child = StartProgram(config, ready[1], &error);
  writeEnd.reset();
  if (child < 0) {
    std::fprintf(stderr, "%s: the restart failed (error %lu)\n", name.c_str(), static_cast<unsigned long>(error));
    return -1;
  }
  // Waited for as StartServiceA waits, so the start lock covers the whole start; a
  // program that does not get ready is judged like any other when it ends.
  error = AwaitReady(readEnd.get());
  if (error != ERROR_SUCCESS) {
    std::fprintf(stderr, "%s: the restarted program did not connect (error %lu)\n", name.c_str(),
                 static_cast<unsigned long>(error));
  }
  return child;
}

}  // namespace

int Supervise(const std::string& name) {
  const char* readyText = std::getenv(kReadyFdEnv);
  if (!readyText) return 2;
  orv::sim::unique_fd ready(std::atoi(readyText));
  unsetenv(kReadyFdEnv);
  fcntl(ready.get(), F_SETFD, FD_CLOEXEC);
  db::Config config;
  if (!db::ReadConfig(name, &config)) return 1;
  DWORD error = ERROR_SUCCESS;
  pid_t child = StartProgram(config, ready.get(), &error);
  ready.reset();  // the program reports to StartServiceA's caller itself
  if (child < 0) return 1;
  for (;;) {
    if (!Reap(child)) return 1;
    // A process that wrote no record of its own never ran as the service.
    db::Status record = db::ReadRecord(name);
    bool failed = record.pid == child && record.status.dwCurrentState != SERVICE_STOPPED;
    db::ReadStatus(name);  // the manager's view: stopped, and removed when marked for deletion
    if (!failed) return 0;
    SC_ACTION action = RecordFailure(name, Now());
    if (action.Type != SC_ACTION_RESTART) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(action.Delay));
    child = Restart(name, record.startTime);
    if (child < 0) return 0;
  }
}

}  // namespace orv::svc
