// What a resource script compiles to: resources named by type, name and
// language, each holding the bytes Windows keeps for it.
#pragma once
#include <string>
#include <vector>

namespace orv::rc {

// A type or a name: a number, or a text (kept in upper case, as rc keeps it).
struct ResourceId {
  unsigned number = 0;
  std::string text;
  bool IsText() const { return !text.empty(); }
  bool operator==(const ResourceId& o) const { return number == o.number && text == o.text; }
};

struct Resource {
  ResourceId type;
  ResourceId name;
  unsigned language = 0x0409;
  std::vector<unsigned char> data;
};

}  // namespace orv::rc
