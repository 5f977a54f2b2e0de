// fork and exec: the watcher is not the caller's child (fork twice), so it
// outlives the caller and leaves no zombie behind; the program is the watcher's.
#include "platform/service/sim/launch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/base/sim/errno_map.h"
#include "platform/fs/sim/paths.h"

extern char** environ;

namespace orv::svc {
namespace {

using orv::win::Win32FromErrno;

constexpr int kStartTimeoutMs = 30000;
// The failure report of an exec: this byte, then the errno.
constexpr char kExecFailed = 'E';

// A program's arguments and environment, prepared before fork: after it, in a
// caller with other threads, only async-signal-safe calls may follow.
class ExecPlan {
 public:
  ExecPlan(std::vector<std::string> args, const std::string& service, int readyFd) : args_(std::move(args)) {
    for (char** e = environ; *e; ++e) {
      std::string var = *e;
      if (var.rfind(std::string(kServiceEnv) + "=", 0) != 0 && var.rfind(std::string(kReadyFdEnv) + "=", 0) != 0) {
        env_.push_back(var);
      }
    }
    if (!service.empty()) env_.push_back(std::string(kServiceEnv) + "=" + service);
    env_.push_back(std::string(kReadyFdEnv) + "=" + std::to_string(readyFd));
    for (auto& a : args_) argv_.push_back(a.data());
    argv_.push_back(nullptr);
    for (auto& v : env_) envp_.push_back(v.data());
    envp_.push_back(nullptr);
    readyFd_ = readyFd;
  }

  // In the child: standard descriptors to /dev/null and the log, the ready
  // descriptor kept, then exec; an exec that fails is reported on it.
  [[noreturn]] void Exec(int devNull, int errFd) {
    dup2(devNull, 0);
    dup2(devNull, 1);
    dup2(errFd >= 0 ? errFd : devNull, 2);
    fcntl(readyFd_, F_SETFD, 0);  // the one other descriptor the program inherits
    execve(argv_[0], argv_.data(), envp_.data());
    int code = errno;
    char msg[1 + sizeof code] = {kExecFailed};
    for (std::size_t i = 0; i < sizeof code; ++i) msg[1 + i] = reinterpret_cast<char*>(&code)[i];
    [[maybe_unused]] ssize_t w = write(readyFd_, msg, sizeof msg);
    _exit(127);
  }

 private:
  std::vector<std::string> args_, env_;
  std::vector<char*> argv_, envp_;
  int readyFd_ = -1;
};

// The program's host path: the record holds the Windows path, as the installer read it from its own module.
bool HostPath(const db::Config& config, std::string* path) {
  *path = config.binaryPath;
  if (!path->empty() && (*path)[0] == '/') return true;
  orv::fs::MappedPath mapped = orv::fs::MapPath(*path);
  if (!mapped.valid || !mapped.exists) return false;
  *path = mapped.host;
  return true;
}

// Where the service's standard error goes.
int OpenErrorLog(const db::Config& config) {
  return open((db::Folder(config.name) + "/stderr.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
}

}  // namespace

StartLock::StartLock(const std::string& name)
    : fd_(open((db::Folder(name) + "/start.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
  if (fd_) flock(fd_.get(), LOCK_EX);
}

DWORD AwaitReady(int readFd) {
  char msg[1 + sizeof(int)] = {};
  pollfd p{readFd, POLLIN, 0};
  int got = 0;
  if (poll(&p, 1, kStartTimeoutMs) > 0) got = static_cast<int>(read(readFd, msg, sizeof msg));
  if (got >= 1 && msg[0] == kReadyByte) return ERROR_SUCCESS;
  if (got == static_cast<int>(sizeof msg) && msg[0] == kExecFailed) {
    int code = 0;
    for (std::size_t i = 0; i < sizeof code; ++i) reinterpret_cast<char*>(&code)[i] = msg[1 + i];
    return Win32FromErrno(code);
  }
  // The program ended, or is still running, without connecting to the manager.
  return ERROR_SERVICE_REQUEST_TIMEOUT;
}

DWORD LaunchService(const db::Config& config) {
  std::string path;
  if (!HostPath(config, &path)) return ERROR_FILE_NOT_FOUND;
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return Win32FromErrno(errno);
  orv::sim::unique_fd readEnd(ready[0]), writeEnd(ready[1]);
  ExecPlan watcher({ORV_SCM_PROGRAM, "supervise", config.name}, "", ready[1]);
  orv::sim::unique_fd devNull(open("/dev/null", O_RDWR | O_CLOEXEC));
  orv::sim::unique_fd errFd(OpenErrorLog(config));

  pid_t child = fork();
  if (child == 0) {
    setsid();
    if (fork() != 0) _exit(0);
    watcher.Exec(devNull.get(), errFd.get());
  }
  writeEnd.reset();
  if (child < 0) return Win32FromErrno(errno);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return AwaitReady(readEnd.get());
}

pid_t StartProgram(const db::Config& config, int readyFd, DWORD* error) {
  std::string path;
  if (!HostPath(config, &path)) {
    *error = ERROR_FILE_NOT_FOUND;
    return -1;
  }
  ExecPlan program({path}, config.name, readyFd);
  orv::sim::unique_fd devNull(open("/dev/null", O_RDWR | O_CLOEXEC));
  orv::sim::unique_fd errFd(OpenErrorLog(config));
  pid_t child = fork();
  if (child == 0) program.Exec(devNull.get(), errFd.get());
  if (child < 0) *error = Win32FromErrno(errno);
  return child;
}

}  // namespace orv::svc
