// Fuzz target for the registry's hive reader: any file text. Whatever it
// accepts must survive being written out and read again unchanged, and every
// key it holds must be reachable from the root with its values found by name.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry/sim/hive.h"

namespace {

using orv::reg::Hive;
using orv::reg::Key;

// Walks the keys below path; each child named must be found, and so must each value.
void Walk(Hive& hive, const std::string& path, int depth) {
  if (depth > 64) return;
  for (const std::string& child : hive.Children(path)) {
    const std::string childPath = path.empty() ? child : path + "\\" + child;
    Key* key = hive.Find(childPath);
    if (!key) std::abort();  // a listed child that cannot be opened
    for (const auto& value : key->values) {
      if (Hive::FindValue(*key, value.name) == nullptr) std::abort();
    }
    Walk(hive, childPath, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Hive hive;
  std::string problem;
  if (!Hive::Parse(text, &hive, &problem)) {
    if (problem.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  const std::string written = hive.Serialize();
  Hive again;
  if (!Hive::Parse(written, &again, &problem) || again.Serialize() != written) std::abort();
  Walk(again, "", 0);
  return 0;
}
