// The simulated system's power schemes: the three it comes with, under their
// real GUIDs, and those imported since, with the active one. They live in one
// file of the state folder ("power/schemes"), replaced crash-safely under an
// inter-process lock, so every program sees the same schemes and a restart keeps
// them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/power/sim/scheme_file.h"

namespace orv::power {

struct InstalledScheme {
  GUID guid;
  SchemeDefinition definition;
};

struct SchemeStore {
  GUID active;
  // In the order the registry would list their keys: by the GUID's text.
  std::vector<InstalledScheme> schemes;

  const InstalledScheme* Find(const GUID& guid) const;
  // Adds a scheme in its place in the order (the caller checked it is new).
  void Add(const GUID& guid, const SchemeDefinition& definition);
  bool Remove(const GUID& guid);
};

// Balanced, High performance and Power saver; Balanced active.
SchemeStore SystemSchemes();

// Runs change on the store while holding its lock; when change answers
// ERROR_SUCCESS and save is set, the store is written back, and a store that
// cannot be written answers ERROR_WRITE_FAULT. A missing store file is the
// system's schemes; a damaged one is kept aside as "schemes.damaged" (the
// process says so once on standard error) and the system's schemes take its place.
DWORD WithSchemeStore(bool save, const std::function<DWORD(SchemeStore&)>& change);

// The store as orv-sim status prints it: each scheme with its GUID, the active one marked.
std::string DescribeSchemes(const SchemeStore& store);

// The store's text form, and back (false with the reason for a damaged text).
std::string SerializeSchemes(const SchemeStore& store);
bool ParseSchemes(const std::string& text, SchemeStore* out, std::string* error);

}  // namespace orv::power
