// Named mutexes over lock files in the session's folder. Every open handle holds
// a shared flock on the name's file, so a creator's probe for an exclusive one
// fails exactly while the mutex exists. Ownership is a write lock on the file's
// first byte (an open-file-description lock, so it belongs to this process's one
// description of the name), and the byte itself says '1' while an owner holds it:
// the kernel drops the locks of a process that ends, and the next owner that
// finds '1' knows the mutex was abandoned. Within the process, one record per
// name keeps the owning thread and its recursion count.
#include <windows.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/base/sim/unique_fd.h"
#include "platform/home/sim/home.h"
#include "platform/sync/sim/waitable.h"

namespace {

using orv::sim::unique_fd;
using orv::win::Taken;

constexpr char kOwned = '1', kFree = '0';

// This process's record of one name, shared by all its handles to it.
class Ownership {
 public:
  explicit Ownership(unique_fd fd) : fd_(std::move(fd)) {}

  Taken TryAcquire() {
    std::lock_guard<std::mutex> lock(m_);
    const auto self = std::this_thread::get_id();
    if (count_ > 0) {
      if (owner_ != self) return Taken::Nothing;
      ++count_;
      return Taken::Signal;
    }
    if (!LockFirstByte(F_WRLCK)) return Taken::Nothing;
    char mark = kFree;
    const bool abandoned = pread(fd_.get(), &mark, 1, 0) == 1 && mark == kOwned;
    if (pwrite(fd_.get(), &kOwned, 1, 0) != 1) {
      LockFirstByte(F_UNLCK);
      return Taken::Nothing;
    }
    owner_ = self;
    count_ = 1;
    return abandoned ? Taken::Abandoned : Taken::Signal;
  }

  bool Release() {
    std::lock_guard<std::mutex> lock(m_);
    if (count_ == 0 || owner_ != std::this_thread::get_id()) return false;
    if (--count_ == 0) {
      // Marked free before the lock goes, so the next owner never mistakes a release for an abandonment.
      [[maybe_unused]] ssize_t n = pwrite(fd_.get(), &kFree, 1, 0);
      LockFirstByte(F_UNLCK);
      owner_ = std::thread::id();
    }
    return true;
  }

 private:
  bool LockFirstByte(short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 1;
    return fcntl(fd_.get(), F_OFD_SETLK, &range) == 0;
  }

  std::mutex m_;
  unique_fd fd_;
  std::thread::id owner_;
  int count_ = 0;
};

class NamedMutex : public orv::win::Waitable {
 public:
  NamedMutex(unique_fd presence, std::shared_ptr<Ownership> ownership)
      : presence_(std::move(presence)), ownership_(std::move(ownership)) {}
  int WaitFd() const override { return -1; }
  Taken Take() override { return ownership_->TryAcquire(); }
  bool Release() { return ownership_->Release(); }

 private:
  unique_fd presence_;  // holds the shared flock that marks the name
  std::shared_ptr<Ownership> ownership_;
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

// The process's ownership record of a file, made on first use; null when the
// file cannot be opened. Called under the session's guard.
std::shared_ptr<Ownership> OwnershipOf(const std::string& path) {
  static std::mutex m;
  static auto* records = new std::map<std::string, std::weak_ptr<Ownership>>;
  std::lock_guard<std::mutex> lock(m);
  if (auto found = (*records)[path].lock()) return found;
  unique_fd fd(open(path.c_str(), O_RDWR | O_CLOEXEC));
  if (!fd) return nullptr;
  auto made = std::make_shared<Ownership>(std::move(fd));
  (*records)[path] = made;
  return made;
}

// Opens the name's mutex, making it when create is set. Under the guard nobody
// else probes: a name nobody holds is free for an exclusive lock; every handle
// then keeps a shared one while it is open. NULL with the last error set.
HANDLE OpenName(const char* name, bool create, bool initialOwner) {
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
  // A name nobody holds is a new mutex: whatever mark its file kept belongs to one that is gone.
  if (!exists && ftruncate(fd.get(), 0) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  flock(fd.get(), LOCK_SH);
  auto ownership = OwnershipOf(path);
  if (!ownership) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  auto mutex = std::make_shared<NamedMutex>(std::move(fd), std::move(ownership));
  // The creator of a new mutex owns it at once when it asks to; the ownership of
  // an existing one is not touched.
  if (!exists && initialOwner) mutex->Take();
  HANDLE h = orv::win::RegisterHandle(mutex);
  SetLastError(exists && create ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

}  // namespace

extern "C" HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName) {
  return OpenName(lpName, true, bInitialOwner != FALSE);
}

extern "C" HANDLE WINAPI OpenMutexA(DWORD, BOOL, LPCSTR lpName) { return OpenName(lpName, false, false); }

extern "C" BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
  auto mutex = orv::win::LookupHandleAs<NamedMutex>(hMutex);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!mutex->Release()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  return TRUE;
}
