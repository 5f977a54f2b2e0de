// LoadLibrary over dlopen, looking beside the program first.
#include "platform/module/module.h"

#include <dlfcn.h>

#include <cctype>
#include <string>

#include "platform/base/error.h"
#include "platform/fs/sim/paths.h"

namespace orv::win {
namespace {

// "KvKBHook.dll" -> "libKvKBHook.so"; a name without ".dll" keeps its stem.
std::string SharedObjectName(std::string name) {
  auto slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  if (name.size() > 4) {
    std::string ext = name.substr(name.size() - 4);
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dll") name.resize(name.size() - 4);
  }
  return "lib" + name + ".so";
}

}  // namespace

HMODULE LoadLibraryA(const char* name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string file = SharedObjectName(name);
  void* h = dlopen((orv::fs::ProgramFolderHost() + "/" + file).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) h = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) SetLastError(ERROR_MOD_NOT_FOUND);
  return static_cast<HMODULE>(h);
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
  if (!module || !name) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  void* p = dlsym(module, name);
  if (!p) SetLastError(ERROR_PROC_NOT_FOUND);
  return reinterpret_cast<FARPROC>(p);
}

BOOL FreeLibrary(HMODULE module) {
  if (!module || dlclose(module) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

}  // namespace orv::win
