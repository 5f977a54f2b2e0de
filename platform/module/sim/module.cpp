// LoadLibrary over dlopen, looking beside the program first; the program's own
// module handle is the dynamic linker's handle of the main program.
#include <windows.h>

#include <dlfcn.h>

#include <cctype>
#include <string>

#include "platform/fs/sim/paths.h"

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

void* Open(const std::string& file, int flags) {
  void* h = dlopen((orv::fs::ProgramFolderHost() + "/" + file).c_str(), flags);
  return h ? h : dlopen(file.c_str(), flags);
}

}  // namespace

extern "C" {

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
  if (!lpLibFileName || !*lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  void* h = Open(SharedObjectName(lpLibFileName), RTLD_NOW | RTLD_LOCAL);
  if (!h) SetLastError(ERROR_MOD_NOT_FOUND);
  return static_cast<HMODULE>(h);
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  if (!hModule || !lpProcName) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  void* p = dlsym(hModule, lpProcName);
  if (!p) SetLastError(ERROR_PROC_NOT_FOUND);
  return reinterpret_cast<FARPROC>(p);
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  if (!hLibModule || hLibModule == GetModuleHandleA(nullptr) || dlclose(hLibModule) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  if (!lpModuleName) {
    static void* const program = dlopen(nullptr, RTLD_NOW);
    return static_cast<HMODULE>(program);
  }
  // RTLD_NOLOAD finds a loaded library without loading it, but counts a reference.
  void* h = Open(SharedObjectName(lpModuleName), RTLD_NOW | RTLD_NOLOAD);
  if (!h) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  dlclose(h);
  return static_cast<HMODULE>(h);
}

}  // extern "C"
