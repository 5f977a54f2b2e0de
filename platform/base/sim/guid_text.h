// A GUID as the registry and the tools write it, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// and back.
#pragma once
#include <windows.h>

#include <string>

namespace orv::base {

// Upper-case hex digits in braces.
std::string GuidText(const GUID& guid);
// The braced form in either letter case; false for any other text.
bool ParseGuid(const std::string& text, GUID* out);

}  // namespace orv::base
