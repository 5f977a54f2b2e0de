// The resource script reader: preprocessor lines, then tokens.
#include "tools/orv-rc/rc_lexer.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orv::rc {
namespace {

namespace fs = std::filesystem;

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Removes comments, keeping line breaks (so lines keep their numbers) and strings.
std::string StripComments(const std::string& text) {
  std::string out;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      out += c;
      if (c == '"') inString = false;
      continue;
    }
    if (c == '"') {
      inString = true;
      out += c;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      out += '\n';
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      for (i += 2; i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/'); ++i)
        if (text[i] == '\n') out += '\n';
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

class Reader {
 public:
  Reader(const std::vector<std::string>& includeDirs, Source* out, std::string* error)
      : includeDirs_(includeDirs), out_(out), error_(error) {}

  // Reads one file; tokens only when tokens is true (headers give #defines only).
  bool File(const std::string& path, bool tokens) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(path + ": cannot be read");
    out_->includedFiles.push_back(path);
    std::ostringstream s;
    s << in.rdbuf();
    std::istringstream lines(StripComments(s.str()));
    std::string line;
    std::vector<bool> active{true};  // one level per open #if
    for (int number = 1; std::getline(lines, line); ++number) {
      const std::string where = path + ":" + std::to_string(number);
      std::string t = Trim(line);
      if (!t.empty() && t[0] == '#') {
        if (!Directive(t.substr(1), path, where, &active)) return false;
        continue;
      }
      if (tokens && active.back() && !Tokens(t, where)) return false;
    }
    if (active.size() != 1) return Fail(path + ": #if without #endif");
    return true;
  }

 private:
  bool Fail(const std::string& message) {
    *error_ = message;
    return false;
  }

  bool Directive(const std::string& text, const std::string& path, const std::string& where,
                 std::vector<bool>* active) {
    std::istringstream in(text);
    std::string word, name;
    in >> word >> name;
    std::string rest;
    std::getline(in, rest);
    const bool on = active->back();
    if (word == "ifdef" || word == "ifndef") {
      bool defined = out_->defines.count(name) > 0;
      active->push_back(on && (word == "ifdef") == defined);
    } else if (word == "else") {
      if (active->size() < 2) return Fail(where + ": #else without #if");
      bool outer = (*active)[active->size() - 2];
      active->back() = outer && !active->back();
    } else if (word == "endif") {
      if (active->size() < 2) return Fail(where + ": #endif without #if");
      active->pop_back();
    } else if (!on || word == "pragma") {
      // skipped
    } else if (word == "define") {
      if (name.find('(') != std::string::npos) return Fail(where + ": macros with arguments are not supported");
      out_->defines[name] = Trim(rest);
    } else if (word == "undef") {
      out_->defines.erase(name);
    } else if (word == "include") {
      std::string arg = Trim(text.substr(text.find("include") + 7));
      if (!arg.empty() && arg[0] == '<') return true;  // the SDK's: its constants are known
      if (arg.size() < 2 || arg.front() != '"' || arg.back() != '"') return Fail(where + ": bad #include");
      std::string found = FindFile(arg.substr(1, arg.size() - 2), fs::path(path).parent_path().string(), includeDirs_);
      if (found.empty()) return Fail(where + ": " + arg + " not found");
      return File(found, false);
    } else {
      return Fail(where + ": #" + word + " is not supported");
    }
    return true;
  }

  bool Tokens(const std::string& line, const std::string& where) {
    return TokeniseLine(line, where, &out_->tokens, error_);
  }

  const std::vector<std::string>& includeDirs_;
  Source* out_;
  std::string* error_;
};

}  // namespace

bool TokeniseLine(const std::string& line, const std::string& where, std::vector<Token>* out, std::string* error) {
  auto Fail = [&](const std::string& message) {
    *error = message;
    return false;
  };
  for (std::size_t i = 0; i < line.size();) {
    char c = line[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '"') {
      std::string value;
      for (++i;; ++i) {
        if (i >= line.size()) return Fail(where + ": unterminated string");
        if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
          value += '"';
          ++i;
        } else if (line[i] == '"') {
          ++i;
          break;
        } else if (line[i] == '\\' && i + 1 < line.size()) {
          char e = line[++i];
          value += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        } else {
          value += line[i];
        }
      }
      out->push_back(Token{Token::String, value, 0, where});
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      std::size_t end = i;
      while (end < line.size() && std::isalnum(static_cast<unsigned char>(line[end]))) ++end;
      std::string digits = line.substr(i, end - i);
      while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' || digits.back() == 'U' ||
                                 digits.back() == 'u'))
        digits.pop_back();
      std::size_t used = 0;
      long long value = 0;
      try {
        value = std::stoll(digits, &used, 0);
      } catch (...) {
        used = 0;
      }
      if (used != digits.size() || digits.empty()) return Fail(where + ": bad number " + line.substr(i, end - i));
      out->push_back(Token{Token::Number, digits, value, where});
      i = end;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      std::size_t end = i;
      while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
      out->push_back(Token{Token::Word, line.substr(i, end - i), 0, where});
      i = end;
    } else if (std::string(",|&+-~(){}").find(c) != std::string::npos) {
      out->push_back(Token{Token::Punct, std::string(1, c), 0, where});
      ++i;
    } else {
      return Fail(where + ": unexpected '" + std::string(1, c) + "'");
    }
  }
  return true;
}

std::string FindFile(const std::string& name, const std::string& scriptDir, const std::vector<std::string>& includeDirs) {
  std::vector<std::string> dirs{scriptDir};
  dirs.insert(dirs.end(), includeDirs.begin(), includeDirs.end());
  for (const std::string& dir : dirs) {
    fs::path candidate = fs::path(dir) / name;
    if (fs::is_regular_file(candidate)) return candidate.string();
  }
  return fs::is_regular_file(name) ? name : std::string();
}

bool ReadSource(const std::string& path, const std::vector<std::string>& includeDirs, Source* out,
                std::string* error) {
  Reader reader(includeDirs, out, error);
  if (!reader.File(path, true)) return false;
  out->tokens.push_back(Token{Token::End, "", 0, path + ": end"});
  return true;
}

}  // namespace orv::rc
