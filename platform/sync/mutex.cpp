// Named mutexes over lock files in the session's folder: every open handle holds
// a shared lock on the name's file, so a creator's probe for an exclusive lock
// fails exactly while the mutex exists; the kernel drops the locks of a process
// that ends.
#include "platform/sync/mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/base/error.h"
#include "platform/base/sim/handle_table.h"
#include "platform/home/sim/home.h"

namespace orv::win {
namespace {

class NamedMutex : public KernelObject {
 public:
  explicit NamedMutex(int fd) : fd_(fd) {}
  ~NamedMutex() override { close(fd_); }

 private:
  int fd_;
};

std::string SessionFolder() {
  const char* session = std::getenv("ORV_SESSION");
  std::string folder = orv::home::Path("sessions/" + std::to_string(getuid()) + "-" +
                                       (session && *session ? session : "console"));
  orv::home::MakeDirs(folder);
  return folder;
}

// A file name for any mutex name: letters and digits kept, the rest escaped.
std::string FileName(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (std::isalnum(c)) {
      out += static_cast<char>(c);
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out + ".mutex";
}

}  // namespace

HANDLE CreateMutexA(void*, BOOL initialOwner, const char* name) {
  if (initialOwner || !name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string folder = SessionFolder();
  const std::string path = folder + "/" + FileName(name);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  int guard = open((folder + "/.guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0 || guard < 0) {
    if (fd >= 0) close(fd);
    if (guard >= 0) close(guard);
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  // Under the guard nobody else probes: a name nobody holds is free for an
  // exclusive lock; every handle then keeps a shared one while it is open.
  flock(guard, LOCK_EX);
  const bool exists = flock(fd, LOCK_EX | LOCK_NB) != 0;
  flock(fd, LOCK_SH);
  flock(guard, LOCK_UN);
  close(guard);
  HANDLE h = RegisterHandle(std::make_shared<NamedMutex>(fd));
  SetLastError(exists ? ERROR_ALREADY_EXISTS : 0);
  return h;
}

}  // namespace orv::win
