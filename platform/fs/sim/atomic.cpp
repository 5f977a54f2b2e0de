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
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT && missing) {
      *missing = true;
      return true;
    }
    if (error) *error = Describe("cannot open", path);
    return false;
  }
  char buf[8192];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = Describe("cannot read", path);
      close(fd);
      return false;
    }
    if (n == 0) break;
    content->append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* error, Durability durability) {
  const bool toDisk = durability == Durability::kPowerLoss;
  std::string temp = path + ".tmp";
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (error) *error = Describe("cannot create", temp);
    return false;
  }
  bool ok = WriteAll(fd, content.data(), content.size()) && (!toDisk || fsync(fd) == 0);
  if (!ok && error) *error = Describe("cannot write", temp);
  if (close(fd) != 0 && ok) {
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
  int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

FileLock::FileLock(const std::string& path) {
  std::string lockPath = path + ".lock";
  fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  while (flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      close(fd_);
      fd_ = -1;
      return;
    }
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) {
    flock(fd_, LOCK_UN);
    close(fd_);
  }
}

}  // namespace orv::fs
