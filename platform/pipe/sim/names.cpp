// Pipe name mapping and the pipe folder's ownership check.
#include "platform/pipe/sim/names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/base/sim/errno_map.h"
#include "platform/home/sim/home.h"

namespace orv::pipe {
namespace {

constexpr char kPrefix[] = "\\\\.\\pipe\\";
constexpr std::size_t kMaxName = 256;

bool Plain(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-'; }

}  // namespace

std::string FileKey(const std::string& name) {
  static const char kHex[] = "0123456789abcdef";
  std::string key;
  for (char ch : name) {
    auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) c = static_cast<unsigned char>(std::tolower(c));
    if (Plain(c)) {
      key += static_cast<char>(c);
    } else {
      key += '%';
      key += kHex[c >> 4];
      key += kHex[c & 0xF];
    }
  }
  return key;
}

bool PathsOf(const char* name, PipePaths* paths) {
  const std::size_t prefixLen = sizeof kPrefix - 1;
  if (!name || strncasecmp(name, kPrefix, prefixLen) != 0) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  const char* rest = name + prefixLen;
  std::size_t len = std::strlen(rest);
  if (len == 0 || len > kMaxName) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  std::string key = FileKey(rest);
  paths->folder = orv::home::Path("pipe");
  paths->socket = paths->folder + "/" + key;
  paths->lock = paths->socket + ".lock";
  paths->wait = paths->socket + ".wait";
  return true;
}

bool PrepareFolder(const std::string& folder) {
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0) {
    if (errno != ENOENT || (mkdir(folder.c_str(), 0711) != 0 && errno != EEXIST) ||
        lstat(folder.c_str(), &st) != 0) {
      SetLastError(orv::win::Win32FromErrno(errno));
      return false;
    }
  }
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

}  // namespace orv::pipe
