// Symbolic names of the WBEM status codes the library reports as text.
#pragma once
#include <cstdint>

namespace orv::lib {

// The WBEMSTATUS name of a covered code, or nullptr.
const char* WbemStatusName(std::int32_t status);

// Writes the name, or "0x%08x" for a code without one, into text (at least 40 bytes).
void FormatWbemStatus(std::int32_t status, char* text, unsigned size);

}  // namespace orv::lib
