// Whole-file reads and crash-safe replacement of small state files, with an
// inter-process lock around read-modify-write cycles. Host paths, not Windows paths.
#pragma once
#include <string>

#include "platform/base/sim/unique_fd.h"

namespace orv::fs {

// Reads a whole file; false (and *error set) when it cannot be opened or read.
// A missing file is reported through *missing (when given) rather than as an error.
bool ReadWholeFile(const std::string& path, std::string* content, std::string* error, bool* missing = nullptr);

// How far a replacement must have gone before WriteFileAtomic returns.
enum class Durability {
  kPowerLoss,    // on the disk: survives a crash of the whole machine
  kProcessKill,  // in the file system: survives the writer being killed
};

// Replaces path with content so that a crash at any moment leaves either the old
// or the new file: write "<path>.tmp", rename it over path, and for kPowerLoss
// fsync the file before the rename and the folder after it. The caller holds the
// FileLock of the file, which makes the fixed temporary name safe (a temporary
// left by a killed writer is simply overwritten).
bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* error,
                     Durability durability = Durability::kPowerLoss);

// An exclusive advisory lock on "<path>.lock", held for the object's life; it is
// released by the kernel when the holder dies, so a killed writer blocks no one.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return static_cast<bool>(fd_); }

 private:
  orv::sim::unique_fd fd_;
};

}  // namespace orv::fs
