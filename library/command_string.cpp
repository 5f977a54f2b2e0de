// Command-string grammar: namespace:Q:class:property:instance and
// namespace:S:class:property:instance:value, and op code M that does nothing.
#include "library/command_string.h"

#include <cctype>
#include <limits>

namespace orv::lib {
namespace {

// Walks the fields of a command string from left to right.
struct Cursor {
  const std::string& s;
  std::size_t pos = 0;  // index just after the last colon taken

  // The field up to the next colon, or false when there is none.
  bool Field(std::string* out) {
    std::size_t colon = s.find(':', pos);
    if (colon == std::string::npos) return false;
    *out = s.substr(pos, colon - pos);
    pos = colon + 1;
    return true;
  }
  bool MoreColons() const { return s.find(':', pos) != std::string::npos; }
  std::string Rest() const { return s.substr(pos); }
};

}  // namespace

std::int64_t ReadDecimal(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    v = v > (kMax - digit) / 10 ? kMax : v * 10 + digit;
  }
  return negative ? -v : v;
}

Command ParseCommand(const char* command) {
  Command c;
  if (!command) return c;
  const std::string line(command);
  Cursor cur{line};
  std::string op;
  if (!cur.Field(&c.nameSpace) || !cur.Field(&op)) return c;
  if (op == "M") {
    c.op = Command::Op::Nothing;
    return c;
  }
  if (op != "Q" && op != "S") return c;

  std::string instance;
  if (!cur.Field(&c.className) || c.className.empty()) return c;
  if (op == "Q") {
    if (!cur.Field(&c.property) || c.property.empty() || cur.MoreColons()) return c;
    instance = cur.Rest();
    if (instance.empty()) return c;
    c.instance = ReadDecimal(instance);
    c.op = Command::Op::Query;
    return c;
  }
  if (!cur.Field(&c.property) || c.property.empty()) return c;
  if (!cur.Field(&instance) || instance.empty() || cur.MoreColons()) return c;
  std::string value = cur.Rest();
  if (value.empty()) return c;
  c.instance = ReadDecimal(instance);
  c.value = ReadDecimal(value);
  c.valueFits = c.value >= std::numeric_limits<std::int32_t>::min() &&
                c.value <= std::numeric_limits<std::int32_t>::max();
  c.op = Command::Op::Set;
  return c;
}

}  // namespace orv::lib
