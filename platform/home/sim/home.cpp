// State-folder lookup for this machine: ORV_HOME, else $XDG_RUNTIME_DIR/orv,
// else /tmp/orv-<uid>.
#include "platform/home/sim/home.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::home {

bool MakeDirs(const std::string& path, unsigned mode) {
  if (path.empty()) return false;
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  auto slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) MakeDirs(path.substr(0, slash), mode);
  return mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

std::string Root() {
  std::string root;
  if (const char* env = std::getenv("ORV_HOME"); env && *env) {
    root = env;
  } else if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run) {
    root = std::string(run) + "/orv";
  } else {
    root = "/tmp/orv-" + std::to_string(getuid());
  }
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  MakeDirs(root);
  return root;
}

std::string Path(const std::string& relative) { return Root() + "/" + relative; }

}  // namespace orv::home
