// Resources linked into a program (pictures and other bytes), found and read with
// the Win32 resource calls. Programs embed files with the CMake function
// orv_embed_resources(<target> <id> <type> <file> ...); the bytes are read-only and
// live as long as the program.
#pragma once
#include <cstddef>
#include <cstdint>

#include <windows.h>

namespace orv::gfx {

struct ResourceEntry;
// HMODULE nullptr: the running program.
using HRSRC = const ResourceEntry*;
using HGLOBAL = const void*;
using ::LPCSTR;

// name: MAKEINTRESOURCEA(id); type: a type name such as "PNG". nullptr if absent.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
DWORD SizeofResource(HMODULE module, HRSRC resource);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL loaded);

struct ResourceEntry {
  unsigned id;
  const char* type;
  const unsigned char* data;
  std::size_t size;
};
// Called by the generated sources at start-up.
void RegisterResources(const ResourceEntry* entries, std::size_t count);

}  // namespace orv::gfx
