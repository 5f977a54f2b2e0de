// Numbers in a resource script: decimal or hex literals, names #defined by the
// script's headers or known from the SDK (window, dialog and control styles,
// languages, resource types), and expressions of them with | & + - ~ ( ) and
// the script's "NOT" (x | NOT y takes y's bits away).
#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "tools/orv-rc/rc_lexer.h"

namespace orv::rc {

class Expressions {
 public:
  explicit Expressions(const std::map<std::string, std::string>& defines) : defines_(defines) {}

  // The value of a name, false when it names no number.
  bool Lookup(const std::string& name, long long* value) const;

  // Evaluates the expression starting at tokens[*at], leaving *at after it.
  // False with a message when it is not one.
  bool Evaluate(const std::vector<Token>& tokens, std::size_t* at, long long* value, std::string* error) const;

 private:
  bool Binary(const std::vector<Token>& t, std::size_t* at, long long* v, std::string* error, int depth,
              int level) const;
  bool Unary(const std::vector<Token>& t, std::size_t* at, long long* v, std::string* error, int depth) const;
  bool Name(const std::string& name, long long* v, int depth) const;

  const std::map<std::string, std::string>& defines_;
};

}  // namespace orv::rc
