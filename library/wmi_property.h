// The property read and write of one chosen instance, by index, shared by the
// public slot-array operations and the command-string parser.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>

namespace orv::lib {

enum class Outcome {
  Done,        // the value was read or written
  NoInstance,  // the query returned fewer objects than the index needs
  Failed,      // a WMI step failed; status holds its code
};

struct WmiTarget {
  const WCHAR* nameSpace;
  const WCHAR* language;
  const WCHAR* query;
  const WCHAR* property;
};

// Reads the property of the index-th object into slot (slotSize bytes, cut between
// characters when the text is longer).
Outcome QueryInstanceProperty(const WmiTarget& target, std::int64_t index, char* slot, std::size_t slotSize,
                              HRESULT* status);

// Writes value, a BSTR (converted by WMI to the property's type), into the index-th
// object and commits it; an empty value writes nothing and is Done.
Outcome SetInstanceProperty(const WmiTarget& target, std::int64_t index, BSTR value, HRESULT* status);

}  // namespace orv::lib
