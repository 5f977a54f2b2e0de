// Program path, short and long path forms and the user name.
#include <windows.h>

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/fs/sim/paths.h"

namespace {

// Win32's answer convention for a path written into a caller's buffer.
DWORD Answer(const std::string& text, char* out, DWORD size) {
  if (!out || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memmove(out, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

DWORD ConvertPath(const char* in, char* out, DWORD size, bool toShort) {
  if (!in) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  orv::fs::MappedPath m = orv::fs::MapPath(in);
  if (!m.valid) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  if (!m.exists) {
    SetLastError(m.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return 0;
  }
  return Answer(toShort ? m.shortPath : m.longPath, out, size);
}

}  // namespace

extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR path, DWORD size) {
  // The program's own module handle (GetModuleHandleA(NULL)) is the dynamic
  // linker's handle of the main program.
  if (module != nullptr && module != static_cast<HMODULE>(dlopen(nullptr, RTLD_NOW | RTLD_NOLOAD))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  std::string file = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "program";
  file = file.substr(file.find_last_of('/') + 1);
  std::string full = orv::fs::ProgramFolderWindows() + "\\" + file;
  if (!path || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (full.size() >= size) {
    std::memcpy(path, full.data(), size - 1);
    path[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(path, full.c_str(), full.size() + 1);
  return static_cast<DWORD>(full.size());
}

extern "C" DWORD WINAPI GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
  return ConvertPath(longPath, shortPath, size, true);
}

extern "C" DWORD WINAPI GetLongPathNameA(LPCSTR shortPath, LPSTR longPath, DWORD size) {
  return ConvertPath(shortPath, longPath, size, false);
}

extern "C" BOOL WINAPI GetUserNameA(LPSTR name, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string user;
  passwd pw{};
  passwd* found = nullptr;
  char buf[4096];
  if (getpwuid_r(geteuid(), &pw, buf, sizeof buf, &found) == 0 && found && found->pw_name) user = found->pw_name;
  if (user.empty()) {
    const char* env = std::getenv("USER");
    user = env && *env ? env : "user";
  }
  DWORD need = static_cast<DWORD>(user.size() + 1);
  if (!name || *size < need) {
    *size = need;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(name, user.c_str(), need);
  *size = need;
  return TRUE;
}

