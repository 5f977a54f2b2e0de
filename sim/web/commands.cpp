// Checking the page's command lines.
#include "sim/web/commands.h"

#include <algorithm>

#include "sim/control.h"

namespace orv::web {
namespace {

bool Fail(std::string* error, const std::string& why) {
  *error = why;
  return false;
}

// Words separated by single spaces; false for empty words.
bool SplitWords(const std::string& line, std::vector<std::string>* words) {
  words->clear();
  std::size_t at = 0;
  for (;;) {
    std::size_t space = line.find(' ', at);
    std::string word = line.substr(at, space == std::string::npos ? std::string::npos : space - at);
    if (word.empty()) return false;
    words->push_back(word);
    if (space == std::string::npos) return true;
    at = space + 1;
  }
}

bool OneOf(const std::string& word, std::initializer_list<const char*> allowed) {
  return std::any_of(allowed.begin(), allowed.end(), [&](const char* a) { return word == a; });
}

// The page's controls, by the shape of their words; the simulator checks the rest.
bool PageControl(const std::vector<std::string>& w) {
  const std::string& verb = w[0];
  const std::size_t n = w.size();
  if (n == 1) return OneOf(verb, {"sleep", "hibernate", "wake"});
  if (n == 2) return OneOf(verb, {"press", "radio", "ac", "thermal"});
  if (n != 3) return false;
  if (verb == "volume") return OneOf(w[1], {"set", "mute"});
  if (verb == "brightness") return w[1] == "set";
  if (verb == "audio") return OneOf(w[1], {"plug", "unplug"}) && w[2] == "headphones";
  return false;
}

// A screen coordinate: an optional minus and up to five digits.
bool Coordinate(const std::string& s, int* out) {
  std::size_t digits = s.size() - (!s.empty() && s[0] == '-' ? 1 : 0);
  if (digits == 0 || digits > 5) return false;
  if (!std::all_of(s.end() - static_cast<std::ptrdiff_t>(digits), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  *out = std::stoi(s);
  return true;
}

bool KeyName(const std::string& keys) {
  return keys.size() <= 64 && std::all_of(keys.begin(), keys.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == ' ';
         });
}

bool Printable(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

}  // namespace

bool SimHasCommand(const std::vector<std::string>& words) {
  sim::Action action;
  std::string ignored;
  return sim::ParseControl(words, &action, &ignored);
}

bool ParsePageCommand(const std::string& message, PageCommand* out, std::string* error) {
  if (message.size() > kMaxCommand) return Fail(error, "command too long");
  const std::size_t space = message.find(' ');
  const std::string verb = message.substr(0, space);
  const std::string rest = space == std::string::npos ? std::string() : message.substr(space + 1);
  if (verb == "type") {
    if (rest.empty() || rest.size() > kMaxTyped || !Printable(rest))
      return Fail(error, "type takes 1.." + std::to_string(kMaxTyped) + " printable characters");
    *out = PageCommand{PageCommand::Kind::Desktop, {}, "TYPE " + rest};
    return true;
  }
  if (!Printable(message)) return Fail(error, "commands are printable text");
  std::vector<std::string> w;
  if (!SplitWords(rest, &w)) w.clear();
  if (verb == "sim") {
    if (w.empty() || !PageControl(w)) return Fail(error, "not a control of the page: \"" + rest + "\"");
    sim::Action action;
    if (!sim::ParseControl(w, &action, error)) return false;
    *out = PageCommand{PageCommand::Kind::Sim, w, {}};
    return true;
  }
  if (verb == "click") {
    int x = 0, y = 0;
    if (w.size() != 3 || !Coordinate(w[0], &x) || !Coordinate(w[1], &y) || !OneOf(w[2], {"left", "right"}))
      return Fail(error, "click takes X Y left|right");
    *out = PageCommand{PageCommand::Kind::Desktop, {},
                       "CLICK " + std::to_string(x) + " " + std::to_string(y) + (w[2] == "right" ? " right" : "")};
    return true;
  }
  if (verb == "key") {
    if (w.empty() || !KeyName(rest)) return Fail(error, "key takes key names such as esc, enter, tab, ctrl+s");
    *out = PageCommand{PageCommand::Kind::Desktop, {}, "KEY " + rest};
    return true;
  }
  return Fail(error, "unknown command \"" + verb.substr(0, 32) + "\"");
}

}  // namespace orv::web
