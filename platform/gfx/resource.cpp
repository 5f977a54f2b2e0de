// The table of resources the program's generated sources register at start-up.
#include "platform/gfx/resource.h"

#include <cstring>
#include <mutex>
#include <vector>

namespace orv::gfx {
namespace {

std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::vector<const ResourceEntry*>& Table() {
  static std::vector<const ResourceEntry*> table;
  return table;
}

}  // namespace

void RegisterResources(const ResourceEntry* entries, std::size_t count) {
  std::lock_guard<std::mutex> lock(Lock());
  for (std::size_t i = 0; i < count; ++i) Table().push_back(&entries[i]);
}

HRSRC FindResourceA(HMODULE, LPCSTR name, LPCSTR type) {
  if (!name || !type || !IS_INTRESOURCE(name) || IS_INTRESOURCE(type)) return nullptr;
  unsigned id = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name));
  std::lock_guard<std::mutex> lock(Lock());
  for (const ResourceEntry* entry : Table())
    if (entry->id == id && std::strcmp(entry->type, type) == 0) return entry;
  return nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
  return resource ? static_cast<DWORD>(resource->size) : 0;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) { return resource ? resource->data : nullptr; }

const void* LockResource(HGLOBAL loaded) { return loaded; }

}  // namespace orv::gfx
