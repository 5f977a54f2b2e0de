// Where a pipe lives: "\\.\pipe\<name>" is the socket $ORV_HOME/pipe/<key>, the
// key being the name in lower case (pipe names ignore case) with every byte other
// than a-z, 0-9, "_" and "-" written as %xx, so any name maps to one plain file
// name. Beside it, "<key>.lock" is held by the serving process (readable by its
// account alone, so no other account can hold a lock on it that keeps the server
// from starting), and "<key>.wait" records the pipe's default time-out for
// clients of every account.
#pragma once
#include <windows.h>

#include <string>

namespace orv::pipe {

struct PipePaths {
  std::string folder;  // $ORV_HOME/pipe
  std::string socket;
  std::string lock;
  std::string wait;
};

// The name as a plain file name: lower case, every other byte as %xx.
std::string FileKey(const std::string& name);

// False (ERROR_INVALID_NAME) unless name is "\\.\pipe\" (any case) and 1 to 256 more characters.
bool PathsOf(const char* name, PipePaths* paths);

// The default time-out a pipe created with 0 gets, as on Windows.
constexpr DWORD kDefaultPipeTimeout = 50;

// Makes sure the pipe folder exists, belongs to this process's account and is not
// writable by anyone else, so no other account can plant a socket in it first.
// False with ERROR_ACCESS_DENIED when it is owned by another account or writable by others.
bool PrepareFolder(const std::string& folder);

}  // namespace orv::pipe
