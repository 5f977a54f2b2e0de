// The power-scheme calls of powrprof.h on the simulated system's scheme store.
#include <powrprof.h>

#include <cstring>
#include <random>

#include "platform/base/unique_handle.h"
#include "platform/fs/sim/atomic.h"
#include "platform/fs/sim/paths.h"
#include "platform/power/sim/scheme_store.h"
#include "platform/text/sim/ansi.h"

namespace {

using orv::power::SchemeDefinition;
using orv::power::SchemeStore;

// A new scheme's identifier, as a version-4 GUID.
GUID NewSchemeGuid() {
  std::random_device random;
  GUID g;
  unsigned char bytes[16];
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
  g.Data1 = (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) | bytes[3];
  g.Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
  g.Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
  std::memcpy(g.Data4, bytes + 8, 8);
  return g;
}

// A GUID in memory of LocalAlloc, for the caller to free.
DWORD HandOut(const GUID& guid, GUID** out) {
  auto* copy = static_cast<GUID*>(LocalAlloc(LMEM_FIXED, sizeof(GUID)));
  if (!copy) return ERROR_NOT_ENOUGH_MEMORY;
  *copy = guid;
  *out = copy;
  return ERROR_SUCCESS;
}

// The scheme of a file given by its Windows path.
DWORD ReadScheme(LPCWSTR path, SchemeDefinition* out) {
  std::u16string wide;
  for (LPCWSTR p = path; *p; ++p) wide.push_back(*p);
  const orv::fs::MappedPath mapped = orv::fs::MapPath(orv::text::WideToAnsi(wide));
  if (!mapped.valid || !mapped.parentExists) return ERROR_PATH_NOT_FOUND;
  if (!mapped.exists) return ERROR_FILE_NOT_FOUND;
  if (mapped.isDirectory) return ERROR_ACCESS_DENIED;
  std::string text, error;
  bool missing = false;
  if (!orv::fs::ReadWholeFile(mapped.host, &text, &error, &missing))
    return missing ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
  return orv::power::ReadSchemeFile(text, out, &error) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

}  // namespace

extern "C" DWORD WINAPI PowerEnumerate(HKEY root, const GUID*, const GUID*, POWER_DATA_ACCESSOR access, ULONG index,
                                       UCHAR* buffer, DWORD* size) {
  if (root || access != ACCESS_SCHEME || !size) return ERROR_INVALID_PARAMETER;
  GUID found{};
  const DWORD result = orv::power::WithSchemeStore(false, [&](SchemeStore& store) -> DWORD {
    if (index >= store.schemes.size()) return ERROR_NO_MORE_ITEMS;
    found = store.schemes[index].guid;
    return ERROR_SUCCESS;
  });
  if (result != ERROR_SUCCESS) return result;
  if (!buffer || *size < sizeof(GUID)) {
    *size = sizeof(GUID);
    return ERROR_MORE_DATA;
  }
  std::memcpy(buffer, &found, sizeof found);
  *size = sizeof(GUID);
  return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI PowerGetActiveScheme(HKEY root, GUID** active) {
  if (root || !active) return ERROR_INVALID_PARAMETER;
  GUID guid{};
  const DWORD result = orv::power::WithSchemeStore(false, [&](SchemeStore& store) -> DWORD {
    guid = store.active;
    return ERROR_SUCCESS;
  });
  return result == ERROR_SUCCESS ? HandOut(guid, active) : result;
}

extern "C" DWORD WINAPI PowerSetActiveScheme(HKEY root, const GUID* scheme) {
  if (root || !scheme) return ERROR_INVALID_PARAMETER;
  return orv::power::WithSchemeStore(true, [&](SchemeStore& store) -> DWORD {
    if (!store.Find(*scheme)) return ERROR_FILE_NOT_FOUND;
    store.active = *scheme;
    return ERROR_SUCCESS;
  });
}

extern "C" DWORD WINAPI PowerImportPowerScheme(HKEY root, LPCWSTR path, GUID** destination) {
  if (root || !path || !destination) return ERROR_INVALID_PARAMETER;
  SchemeDefinition definition;
  if (const DWORD read = ReadScheme(path, &definition); read != ERROR_SUCCESS) return read;
  const bool given = *destination != nullptr;
  const GUID guid = given ? **destination : NewSchemeGuid();
  // The GUID the caller will own is allocated before the store changes, so a
  // failed allocation leaves no scheme the caller cannot name.
  orv::unique_hlocal handed;
  if (!given) {
    GUID* out = nullptr;
    if (HandOut(guid, &out) != ERROR_SUCCESS) return ERROR_NOT_ENOUGH_MEMORY;
    handed.reset(out);
  }
  const DWORD result = orv::power::WithSchemeStore(true, [&](SchemeStore& store) -> DWORD {
    store.Remove(guid);
    store.Add(guid, definition);
    return ERROR_SUCCESS;
  });
  if (result == ERROR_SUCCESS && !given) *destination = static_cast<GUID*>(handed.release());
  return result;
}

extern "C" DWORD WINAPI PowerDeleteScheme(HKEY root, const GUID* scheme) {
  if (root || !scheme) return ERROR_INVALID_PARAMETER;
  return orv::power::WithSchemeStore(true, [&](SchemeStore& store) -> DWORD {
    if (!store.Find(*scheme)) return ERROR_FILE_NOT_FOUND;
    if (store.active == *scheme) return ERROR_ACCESS_DENIED;
    store.Remove(*scheme);
    return ERROR_SUCCESS;
  });
}
