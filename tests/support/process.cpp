// Child processes and private state folders for the tests.
#include "tests/support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace orv::test {
namespace {


std::string TempName(const char* stem) {
  std::string templ = std::string("/tmp/") + stem + "XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  int fd = mkstemp(buf.data());
  if (fd >= 0) close(fd);
  return buf.data();
}

int Spawn(const std::vector<std::string>& argv, const std::string& inFile, const std::string& outFile,
          const std::string& errFile) {
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, inFile.empty() ? "/dev/null" : inFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&fa, 2, errFile.empty() ? "/dev/null" : errFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &fa, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&fa);
  return pid;
}

// Waits for pid until the deadline; true when it ended (status filled in).
bool WaitPid(int pid, int* status, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int r = waitpid(pid, status, WNOHANG);
    if (r == pid) return true;
    if (r < 0) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

TempHome::TempHome() {
  char templ[] = "/tmp/orvhomeXXXXXX";
  path_ = mkdtemp(templ);
  if (const char* prev = std::getenv("ORV_HOME")) { hadPrevious_ = true; previous_ = prev; }
  setenv("ORV_HOME", path_.c_str(), 1);
}

TempHome::~TempHome() {
  if (hadPrevious_) setenv("ORV_HOME", previous_.c_str(), 1); else unsetenv("ORV_HOME");
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string BinDir() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string self(buf, static_cast<std::size_t>(n));
  return self.substr(0, self.find_last_of('/'));
}

std::string Program(const std::string& name) { return BinDir() + "/" + name; }

RunResult Run(const std::vector<std::string>& argv, const std::string& input,
              std::chrono::milliseconds timeout) {
  RunResult r;
  std::string in, out = TempName("orvout"), err = TempName("orverr");
  if (!input.empty()) {
    in = TempName("orvin");
    std::ofstream(in, std::ios::binary) << input;
  }
  int pid = Spawn(argv, in, out, err);
  if (pid > 0) {
    int status = 0;
    if (!WaitPid(pid, &status, timeout)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    }
    if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
  }
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  unlink(out.c_str());
  unlink(err.c_str());
  if (!in.empty()) unlink(in.c_str());
  return r;
}

Child::Child(const std::vector<std::string>& argv) : outFile_(TempName("orvchild")) {
  pid_ = Spawn(argv, "", outFile_, outFile_ + ".err");
}

Child::~Child() {
  if (pid_ > 0 && !reaped_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
  unlink(outFile_.c_str());
  unlink((outFile_ + ".err").c_str());
}

bool Child::Running() {
  if (pid_ <= 0 || reaped_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) { reaped_ = true; return false; }
  return true;
}

void Child::Signal(int sig) {
  if (pid_ > 0 && !reaped_) kill(pid_, sig);
}

int Child::Wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  if (!reaped_) {
    if (!WaitPid(pid_, &status_, timeout)) return -1;
    reaped_ = true;
  }
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

std::string Child::Output() { return ReadFile(outFile_); }

bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!cond()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace orv::test
