// Named mutexes over lock files in the session's folder: the creator of a name
// holds an exclusive lock on its file, so a later creator's probe fails and tells
// it the mutex exists; the kernel drops the lock of a process that ends.
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
#include "platform/base/handle.h"
#include "platform/home/home.h"

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
  std::string folder = orv::home::Path(std::string("sessions/") + (session && *session ? session : "console"));
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
  std::string path = SessionFolder() + "/" + FileName(name);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  bool exists = flock(fd, LOCK_EX | LOCK_NB) != 0;
  HANDLE h = RegisterHandle(std::make_shared<NamedMutex>(fd));
  SetLastError(exists ? ERROR_ALREADY_EXISTS : 0);
  return h;
}

}  // namespace orv::win
