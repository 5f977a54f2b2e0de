// orv-app: the simulated notebook's stand-in for a Windows program that the
// shell starts from a program file. It records its start in the state folder's
// "programs.log" (process id, program file, working folder, arguments), asks
// the desktop for a window titled with the program's name, and runs until it is
// asked to end (SIGTERM, SIGINT, or its window closed) or its state folder goes.
//   orv-app --dir WORKING-FOLDER PROGRAM-FILE [ARGUMENTS...]
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/base/sim/unique_fd.h"
#include "platform/desktop/sim/programs.h"
#include "platform/home/sim/home.h"

namespace {

// The name a program's window carries: its file name without the extension.
std::string ProgramName(const std::string& path) {
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name.empty() ? "Program" : name;
}

// One line appended whole (O_APPEND writes of one buffer do not interleave).
void Record(const std::string& line) {
  const std::string path = orv::home::Path("programs.log");
  orv::sim::unique_fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600));
  if (!fd) {
    std::fprintf(stderr, "orv-app: cannot record the start in %s: %s\n", path.c_str(), std::strerror(errno));
    return;
  }
  ssize_t written = ::write(fd.get(), line.data(), line.size());
  (void)written;
}

bool FolderExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || std::strcmp(argv[1], "--dir") != 0) {
    std::fprintf(stderr, "usage: orv-app --dir WORKING-FOLDER PROGRAM-FILE [ARGUMENTS...]\n");
    return 2;
  }
  const std::string folder = argv[2], program = argv[3];
  std::string line = std::to_string(::getpid()) + "\t" + program + "\t" + folder + "\t";
  for (int i = 4; i < argc; ++i) line += std::string(i > 4 ? " " : "") + argv[i];
  Record(line + "\n");

  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGINT);
  sigprocmask(SIG_BLOCK, &ending, nullptr);
  // Without a desktop (none is served) the program runs all the same, unseen.
  orv::desktop::RequestProgramWindow(::getpid(), ProgramName(program));

  const std::string home = orv::home::Root();
  const timespec poll{1, 0};
  for (;;) {
    if (sigtimedwait(&ending, nullptr, &poll) > 0) return 0;
    if (!FolderExists(home)) return 0;  // the notebook it ran on is gone
  }
}
