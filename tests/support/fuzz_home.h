// For fuzz targets: a state folder of their own, in memory where the machine has
// such a folder (writes there sync their files), removed when the target ends.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

namespace orv::test {

// Makes the folder, exports it as ORV_HOME and returns its path.
inline std::string UseFuzzStateFolder() {
  static char inMemory[] = "/dev/shm/orvfuzzXXXXXX";
  static char onDisk[] = "/tmp/orvfuzzXXXXXX";
  const char* made = mkdtemp(inMemory);
  if (!made) made = mkdtemp(onDisk);
  if (!made) std::abort();
  setenv("ORV_HOME", made, 1);
  static const std::string folder = made;
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  });
  return folder;
}

}  // namespace orv::test
