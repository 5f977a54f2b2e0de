// The program's resources as the resource compiler's build step links them in:
// a table of entries, each a type and a name (a number or a text) with its
// bytes in the layout Windows keeps them in (DLGTEMPLATEEX, GRPICONDIR, DIBs,
// files as they are). FindResourceA and its siblings read this table.
#pragma once
#include <cstddef>

namespace orv::module {

struct ResourceEntry {
  const char* typeName;  // null: the type is typeId
  unsigned typeId;
  const char* name;      // null: the name is nameId
  unsigned nameId;
  const unsigned char* data;
  std::size_t size;
};

// Called by the generated table at start-up; the entries live as long as the program.
void RegisterProgramResources(const ResourceEntry* entries, std::size_t count);

}  // namespace orv::module
