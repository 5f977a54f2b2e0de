// Named mutexes over lock files in the session's folder: every open handle holds
// a shared lock on the name's file, so a creator's probe for an exclusive lock
// fails exactly while the mutex exists; the kernel drops the locks of a process
// that ends.
#include <windows.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/base/sim/handle_table.h"
#include "platform/base/sim/unique_fd.h"
#include "platform/home/sim/home.h"

namespace {

using orv::sim::unique_fd;

class NamedMutex : public orv::win::KernelObject {
 public:
  explicit NamedMutex(unique_fd fd) : fd_(std::move(fd)) {}

 private:
  unique_fd fd_;  // holds the shared lock that marks the name
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

// Opens the name's mutex, making it when create is set. Under the guard nobody
// else probes: a name nobody holds is free for an exclusive lock; every handle
// then keeps a shared one while it is open. NULL with the last error set.
HANDLE OpenName(const char* name, bool create) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string folder = SessionFolder();
  const std::string path = folder + "/" + FileName(name);
  unique_fd guard(open((folder + "/.guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!guard) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  flock(guard.get(), LOCK_EX);
  unique_fd fd(open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600));
  if (!fd) {
    SetLastError(!create && errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
    return nullptr;
  }
  const bool exists = flock(fd.get(), LOCK_EX | LOCK_NB) != 0;
  if (!exists && !create) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  flock(fd.get(), LOCK_SH);
  HANDLE h = orv::win::RegisterHandle(std::make_shared<NamedMutex>(std::move(fd)));
  SetLastError(exists && create ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

}  // namespace

extern "C" HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName) {
  if (bInitialOwner) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return OpenName(lpName, true);
}

extern "C" HANDLE WINAPI OpenMutexA(DWORD, BOOL, LPCSTR lpName) { return OpenName(lpName, false); }

extern "C" BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
  SetLastError(orv::win::LookupHandleAs<NamedMutex>(hMutex) ? ERROR_NOT_OWNER : ERROR_INVALID_HANDLE);
  return FALSE;
}
