// Crash-safe file replacement and the lock file beside each state file.
#include "platform/fs/sim/atomic.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orv::fs {
namespace {

std::string Describe(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* content, std::string* error, bool* missing) {
  if (missing) *missing = false;
  content->clear();
  orv::sim::unique_fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT && missing) {
      *missing = true;
      return true;
    }
    if (error) *error = Describe("cannot open", path);
    return false;
  }
  char buf[8192];
  for (;;) {
    ssize_t n = read(fd.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = Describe("cannot read", path);
      return false;
    }
    if (n == 0) break;
    content->append(buf, static_cast<std::size_t>(n));
  }
  return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* error, Durability durability) {
  const bool toDisk = durability == Durability::kPowerLoss;
  std::string temp = path + ".tmp";
  orv::sim::unique_fd fd(open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (!fd) {
    if (error) *error = Describe("cannot create", temp);
    return false;
  }
  bool ok = WriteAll(fd.get(), content.data(), content.size()) && (!toDisk || fsync(fd.get()) == 0);
  if (!ok && error) *error = Describe("cannot write", temp);
  // Closed here, not by the owner, because a failed close is a failed write.
  if (close(fd.release()) != 0 && ok) {
    ok = false;
    if (error) *error = Describe("cannot close", temp);
  }
  if (ok && rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    if (error) *error = Describe("cannot replace", path);
  }
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  if (!toDisk) return true;
  // The rename itself must reach the disk before the change counts as made.
  std::string folder = path.substr(0, path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/'));
  orv::sim::unique_fd dir(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) fsync(dir.get());
  return true;
}

FileLock::FileLock(const std::string& path) {
  std::string lockPath = path + ".lock";
  fd_.reset(open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd_) return;
  while (flock(fd_.get(), LOCK_EX) != 0) {
    if (errno != EINTR) {
      fd_.reset();
      return;
    }
  }
}

FileLock::~FileLock() {
  if (fd_) flock(fd_.get(), LOCK_UN);
}

}  // namespace orv::fs
