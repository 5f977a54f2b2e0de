// The service's descriptors, for the service tests.
#include "tests/service/service_fixture.h"

#include <dirent.h>

#include <cstdlib>

namespace orv::test {

std::map<int, std::string> OpenFds(int pid) {
  std::map<int, std::string> fds;
  std::string folder = "/proc/" + std::to_string(pid) + "/fd";
  DIR* dir = opendir(folder.c_str());
  if (!dir) return fds;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    char target[256] = {};
    ssize_t n = readlink((folder + "/" + e->d_name).c_str(), target, sizeof target - 1);
    fds[std::atoi(e->d_name)] = n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
  }
  closedir(dir);
  return fds;
}

int LowestFreeFdWhenIdle(int pid) {
  std::map<int, std::string> fds;
  bool idle = WaitFor([&] {
    fds = OpenFds(pid);
    int sockets = 0;
    for (auto& [fd, target] : fds) sockets += target.rfind("socket:", 0) == 0;
    return sockets == 1;
  });
  if (!idle) return -1;
  int n = 0;
  while (fds.count(n)) ++n;
  return n;
}

}  // namespace orv::test
