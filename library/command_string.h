// The shape of a command string: its fields and the decimal reading of numbers,
// checked without touching WMI.
#pragma once
#include <cstdint>
#include <string>

namespace orv::lib {

// The result text of every command string whose shape is not accepted.
inline constexpr const char kBadCommand[] = "Please input correct parameter !";

struct Command {
  enum class Op { Invalid, Query, Set, Nothing };
  Op op = Op::Invalid;
  std::string nameSpace;
  std::string className;
  std::string property;
  std::int64_t instance = 0;  // saturated to the int64 range
  std::int64_t value = 0;     // set only
  bool valueFits = true;      // the value lies in the 32-bit signed range
};

// Splits a command string at its colons and checks each field.
Command ParseCommand(const char* command);

// Optional white space, an optional sign, then decimal digits up to the first
// non-digit; no digits read as 0. Saturates instead of overflowing.
std::int64_t ReadDecimal(const std::string& text);

}  // namespace orv::lib
