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

// One run of the program: its process and, to know its record by, its start time.
struct Run {
  pid_t pid = -1;
  unsigned long long started = 0;
};

Run Started(pid_t pid) { return Run{pid, pid > 0 ? db::StartTimeOf(pid) : 0}; }

// Waits for the child to end; false when there is no such child.
bool Reap(pid_t child) {
  int status = 0;
  for (;;) {
    if (waitpid(child, &status, 0) == child) return true;
    if (errno != EINTR) return false;
  }
}

// Starts the program again unless it may not run any more or another start came
// first (the record is then no longer the failed run's): the new run, or none.
Run Restart(const std::string& name, unsigned long long failedRun) {
  StartLock lock(name);
  db::Config config;
  if (!db::ReadConfig(name, &config) || db::MarkedForDelete(name) || config.startType == SERVICE_DISABLED) return {};
  db::Status now = db::ReadStatus(name);
  if (now.status.dwCurrentState != SERVICE_STOPPED || now.startTime != failedRun) return {};
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return {};
  orv::sim::unique_fd readEnd(ready[0]), writeEnd(ready[1]);
  DWORD error = ERROR_SUCCESS;
  const Run run = Started(StartProgram(config, ready[1], &error));
  writeEnd.reset();
  if (run.pid < 0) {
    std::fprintf(stderr, "%s: the restart failed (error %lu)\n", name.c_str(), static_cast<unsigned long>(error));
    return {};
  }
  // Waited for as StartServiceA waits, so the start lock covers the whole start; a
  // program that does not get ready is judged like any other when it ends.
  error = AwaitReady(readEnd.get());
  if (error != ERROR_SUCCESS) {
    std::fprintf(stderr, "%s: the restarted program did not connect (error %lu)\n", name.c_str(),
                 static_cast<unsigned long>(error));
  }
  return run;
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
  Run run = Started(StartProgram(config, ready.get(), &error));
  ready.reset();  // the program reports to StartServiceA's caller itself
  while (run.pid > 0) {
    if (!Reap(run.pid)) return 1;
    db::Status record = db::ReadRecord(name);
    // A process that wrote no record of its own never ran as the service. Its end
    // is a failure unless it reported the stop itself: whoever looked at the record
    // first after its end wrote it stopped, but without a process.
    bool failed = run.started != 0 && record.startTime == run.started &&
                  (record.status.dwCurrentState != SERVICE_STOPPED || record.pid == 0);
    db::ReadStatus(name);  // the manager's view: stopped, and removed when marked for deletion
    if (!failed) return 0;
    SC_ACTION action = RecordFailure(name, Now());
    if (action.Type != SC_ACTION_RESTART) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(action.Delay));
    run = Restart(name, run.started);
  }
  return 0;
}

}  // namespace orv::svc
