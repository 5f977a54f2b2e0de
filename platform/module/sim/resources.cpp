// FindResourceA and its siblings over the program's table of resources.
#include <windows.h>

#include <cctype>
#include <mutex>
#include <string>
#include <vector>

#include "platform/module/sim/resource_table.h"

namespace orv::module {
namespace {

std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::vector<const ResourceEntry*>& Table() {
  static std::vector<const ResourceEntry*> table;
  return table;
}

bool SameText(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

// A name given as MAKEINTRESOURCE or "#123" matches the number; a text matches
// a text without regard to case.
bool Matches(LPCSTR wanted, const char* text, unsigned id) {
  if (IS_INTRESOURCE(wanted)) return !text && id == static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(wanted));
  if (wanted[0] == '#') return !text && std::to_string(id) == wanted + 1;
  return text && SameText(wanted, text);
}

bool IsProgram(HMODULE module) { return !module || module == GetModuleHandleA(nullptr); }

}  // namespace

void RegisterProgramResources(const ResourceEntry* entries, std::size_t count) {
  std::lock_guard<std::mutex> lock(Lock());
  for (std::size_t i = 0; i < count; ++i) Table().push_back(&entries[i]);
}

}  // namespace orv::module

using orv::module::ResourceEntry;

extern "C" {

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
  if (!lpName || !lpType) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!orv::module::IsProgram(hModule)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  bool typeFound = false;
  std::lock_guard<std::mutex> lock(orv::module::Lock());
  for (const ResourceEntry* entry : orv::module::Table()) {
    if (!orv::module::Matches(lpType, entry->typeName, entry->typeId)) continue;
    typeFound = true;
    if (orv::module::Matches(lpName, entry->name, entry->nameId))
      return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
  }
  SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
  return hResInfo ? static_cast<DWORD>(reinterpret_cast<const ResourceEntry*>(hResInfo)->size) : 0;
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
  if (!hResInfo) return nullptr;
  return const_cast<unsigned char*>(reinterpret_cast<const ResourceEntry*>(hResInfo)->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

}  // extern "C"
