// ShellExecuteExA over the simulated drives: a program file is started as a
// process of this machine (a Windows program image in the stand-in host
// orv-app, a program of this machine as itself) in its working folder, and the
// call returns once the process runs or could not be started.
#include <shellapi.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/sim/unique_fd.h"
#include "platform/fs/sim/paths.h"

namespace {

enum class Kind { WindowsImage, HostProgram, Other };

// The host folder of the running program, where the stand-in host lies beside it.
std::string SelfFolder() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string self(buf, static_cast<std::size_t>(n));
  return self.substr(0, self.find_last_of('/'));
}

// What the file is, by its first bytes; errno-like failure in *error.
Kind KindOf(const std::string& host, DWORD* error) {
  orv::sim::unique_fd fd(::open(host.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    *error = errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
    return Kind::Other;
  }
  char head[2] = {};
  if (::read(fd.get(), head, sizeof head) == 2 && head[0] == 'M' && head[1] == 'Z') return Kind::WindowsImage;
  struct stat st{};
  if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && ::access(host.c_str(), X_OK) == 0)
    return Kind::HostProgram;
  *error = ERROR_NO_ASSOCIATION;
  return Kind::Other;
}

std::vector<std::string> Words(const char* text) {
  std::vector<std::string> out;
  std::istringstream in(text ? text : "");
  std::string word;
  while (in >> word) out.push_back(word);
  return out;
}

bool IsOpenVerb(const char* verb) { return !verb || !*verb || strcasecmp(verb, "open") == 0; }

HINSTANCE Code(int value) { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(value)); }

int SeErrorOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
    case ERROR_NOT_ENOUGH_MEMORY: return SE_ERR_OOM;
    default: return SE_ERR_NOASSOC;
  }
}

// Starts argv in folder as a process of its own (not a child that must be
// waited for); the errno of a failed start, or 0.
int Spawn(const std::vector<std::string>& argv, const std::string& folder) {
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return errno;
  orv::sim::unique_fd readEnd(report[0]), writeEnd(report[1]);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t middle = ::fork();
  if (middle < 0) return errno;
  if (middle == 0) {
    // The middle process only lets the program go: it is nobody's child to wait for.
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    int failure = 0;
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) ::dup2(null, STDIN_FILENO);
    if (::chdir(folder.c_str()) != 0) failure = errno;
    if (!failure) ::execv(args[0], args.data());
    if (!failure) failure = errno;
    ssize_t written = ::write(writeEnd.get(), &failure, sizeof failure);
    (void)written;
    ::_exit(127);
  }
  writeEnd.reset();
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  int failure = 0;
  ssize_t got;
  do got = ::read(readEnd.get(), &failure, sizeof failure);
  while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof failure) ? failure : 0;
}

BOOL Fail(SHELLEXECUTEINFOA* info, DWORD error) {
  if (info) info->hInstApp = Code(SeErrorOf(error));
  SetLastError(error);
  return FALSE;
}

}  // namespace

extern "C" BOOL WINAPI ShellExecuteExA(SHELLEXECUTEINFOA* info) {
  if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOA) || !info->lpFile || !*info->lpFile) {
    if (info) info->hInstApp = Code(SE_ERR_NOASSOC);
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->hProcess = nullptr;
  if (!IsOpenVerb(info->lpVerb)) return Fail(info, ERROR_NO_ASSOCIATION);
  const orv::fs::MappedPath file = orv::fs::MapPath(info->lpFile);
  if (!file.valid || !file.exists) return Fail(info, file.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
  // A folder opens in the shell's browser, which this desktop does not have.
  if (file.isDirectory) return Fail(info, ERROR_NO_ASSOCIATION);

  std::string folderWindows, folderHost;
  if (info->lpDirectory && *info->lpDirectory) {
    const orv::fs::MappedPath dir = orv::fs::MapPath(info->lpDirectory);
    if (!dir.valid || !dir.exists || !dir.isDirectory) return Fail(info, ERROR_PATH_NOT_FOUND);
    folderWindows = dir.longPath;
    folderHost = dir.host;
  } else {
    folderWindows = file.longPath.substr(0, file.longPath.find_last_of('\\'));
    folderHost = file.host.substr(0, file.host.find_last_of('/'));
  }

  DWORD error = 0;
  std::vector<std::string> argv;
  switch (KindOf(file.host, &error)) {
    case Kind::WindowsImage:
      argv = {SelfFolder() + "/orv-app", "--dir", folderWindows, file.longPath};
      break;
    case Kind::HostProgram:
      argv = {file.host};
      break;
    case Kind::Other:
      return Fail(info, error);
  }
  for (std::string& word : Words(info->lpParameters)) argv.push_back(std::move(word));
  const int failure = Spawn(argv, folderHost);
  if (failure) return Fail(info, failure == ENOENT ? ERROR_FILE_NOT_FOUND : failure == EACCES ? ERROR_ACCESS_DENIED
                                                                                               : ERROR_NO_ASSOCIATION);
  info->hInstApp = Code(42);  // above 32: success
  return TRUE;
}
