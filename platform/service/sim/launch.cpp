// fork twice and exec: the service process is not the caller's child, so it
// outlives the caller and leaves no zombie behind.
#include "platform/service/sim/launch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/fs/sim/paths.h"
#include "platform/base/sim/errno_map.h"

extern char** environ;

namespace orv::svc {
namespace {

using orv::win::Win32FromErrno;

constexpr int kStartTimeoutMs = 30000;

}  // namespace

DWORD LaunchService(const db::Config& config) {
  // The record holds the Windows path, as the installer read it from its own module.
  std::string path = config.binaryPath;
  if (path.empty() || path[0] != '/') {
    orv::fs::MappedPath mapped = orv::fs::MapPath(path);
    if (!mapped.valid || !mapped.exists) return ERROR_FILE_NOT_FOUND;
    path = mapped.host;
  }
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return Win32FromErrno(errno);
  // Everything the child needs is prepared before fork: only async-signal-safe calls follow.
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string var = *e;
    if (var.rfind(std::string(kServiceEnv) + "=", 0) != 0 && var.rfind(std::string(kReadyFdEnv) + "=", 0) != 0) {
      env.push_back(var);
    }
  }
  env.push_back(std::string(kServiceEnv) + "=" + config.name);
  env.push_back(std::string(kReadyFdEnv) + "=" + std::to_string(ready[1]));
  std::vector<char*> envp;
  for (auto& v : env) envp.push_back(v.data());
  envp.push_back(nullptr);
  char* argv[] = {path.data(), nullptr};
  std::string errLog = db::Folder(config.name) + "/stderr.log";
  int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  int errFd = open(errLog.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);

  pid_t child = fork();
  if (child == 0) {
    setsid();
    if (fork() != 0) _exit(0);
    dup2(devNull, 0);
    dup2(devNull, 1);
    dup2(errFd >= 0 ? errFd : devNull, 2);
    fcntl(ready[1], F_SETFD, 0);  // the one descriptor the service inherits
    execve(argv[0], argv, envp.data());
    int code = errno;
    char msg[1 + sizeof code] = {'E'};
    for (std::size_t i = 0; i < sizeof code; ++i) msg[1 + i] = reinterpret_cast<char*>(&code)[i];
    [[maybe_unused]] ssize_t w = write(ready[1], msg, sizeof msg);
    _exit(127);
  }
  if (devNull >= 0) close(devNull);
  if (errFd >= 0) close(errFd);
  close(ready[1]);
  if (child < 0) {
    close(ready[0]);
    return Win32FromErrno(errno);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  char msg[1 + sizeof(int)] = {};
  pollfd p{ready[0], POLLIN, 0};
  int got = 0;
  if (poll(&p, 1, kStartTimeoutMs) > 0) got = static_cast<int>(read(ready[0], msg, sizeof msg));
  close(ready[0]);
  if (got >= 1 && msg[0] == kReadyByte) return ERROR_SUCCESS;
  if (got == static_cast<int>(sizeof msg) && msg[0] == 'E') {
    int code = 0;
    for (std::size_t i = 0; i < sizeof code; ++i) reinterpret_cast<char*>(&code)[i] = msg[1 + i];
    return Win32FromErrno(code);
  }
  // The program ended, or is still running, without connecting to the manager.
  return ERROR_SERVICE_REQUEST_TIMEOUT;
}

}  // namespace orv::svc
