// The property read and write of one chosen instance, by index, shared by the
// public slot-array operations and the command-string parser.
#pragma once
#include <cstdint>

#include "platform/wmi/com.h"

namespace orv::lib {

enum class Outcome {
  Done,        // the value was read or written
  NoInstance,  // the query returned fewer objects than the index needs
  Failed,      // a WMI step failed; status holds its code
};

struct WmiTarget {
  const char16_t* nameSpace;
  const char16_t* language;
  const char16_t* query;
  const char16_t* property;
};

// Reads the property of the index-th object into slot (slotSize bytes, cut at a
// character boundary when the text is longer).
Outcome QueryInstanceProperty(const WmiTarget& target, std::int64_t index, char* slot, std::size_t slotSize,
                              wmi::HRESULT* status);

// Writes value (converted by WMI to the property's type) into the index-th object
// and commits it; an empty value writes nothing and is Done.
Outcome SetInstanceProperty(const WmiTarget& target, std::int64_t index, const char16_t* value,
                            wmi::HRESULT* status);

}  // namespace orv::lib
