// The registry's text form: writing it and reading it back strictly.
#include "platform/registry/sim/hive.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace orv::reg {
namespace {

constexpr const char* kHeader = "ORV-REGISTRY 1";
constexpr const char* kTrailer = "END";

std::string Escape(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02x", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

int HexDigit(char c);

// Key paths keep their backslashes as they are; '%', ']' and control bytes become %XX.
std::string EscapeKey(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == '%' || c == ']' || c < 0x20 || c == 0x7F) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool UnescapeKey(const std::string& s, std::string* out) {
  out->clear();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      *out += s[i];
      continue;
    }
    if (i + 2 >= s.size()) return false;
    int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
    if (hi < 0 || lo < 0) return false;
    *out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads escaped text up to (not including) the closing character; pos ends on it.
bool Unescape(const std::string& s, std::size_t& pos, char close, std::string* out) {
  out->clear();
  while (pos < s.size() && s[pos] != close) {
    char c = s[pos++];
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (pos >= s.size()) return false;
    char e = s[pos++];
    switch (e) {
      case '\\': *out += '\\'; break;
      case '"': *out += '"'; break;
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      case 't': *out += '\t'; break;
      case 'x': {
        if (pos + 2 > s.size()) return false;
        int hi = HexDigit(s[pos]), lo = HexDigit(s[pos + 1]);
        if (hi < 0 || lo < 0) return false;
        *out += static_cast<char>(hi * 16 + lo);
        pos += 2;
        break;
      }
      default: return false;
    }
  }
  return pos < s.size();
}

std::string Hex(const std::string& data) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    char b[4];
    std::snprintf(b, sizeof b, "%02x", static_cast<unsigned char>(data[i]));
    if (i) out += ',';
    out += b;
  }
  return out;
}

bool ParseHex(const std::string& s, std::string* out) {
  out->clear();
  std::size_t i = 0;
  while (i < s.size()) {
    if (i + 2 > s.size()) return false;
    int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
    if (hi < 0 || lo < 0) return false;
    *out += static_cast<char>(hi * 16 + lo);
    i += 2;
    if (i < s.size() && s[i++] != ',') return false;
  }
  return true;
}

std::string Parent(const std::string& path) {
  auto cut = path.find_last_of('\\');
  return cut == std::string::npos ? "" : path.substr(0, cut);
}

// One "name"=type:data line into value; false when it does not have that shape.
bool ParseValue(const std::string& line, Value* value) {
  std::size_t pos = 0;
  if (line.compare(0, 2, "@=") == 0) {
    value->name.clear();
    pos = 2;
  } else {
    if (line.empty() || line[0] != '"') return false;
    pos = 1;
    if (!Unescape(line, pos, '"', &value->name)) return false;
    ++pos;
    if (pos >= line.size() || line[pos] != '=') return false;
    ++pos;
  }
  std::string rest = line.substr(pos);
  if (rest.compare(0, 4, "sz:\"") == 0 || rest.compare(0, 11, "expand_sz:\"") == 0) {
    value->type = rest[0] == 's' ? REG_SZ : REG_EXPAND_SZ;
    std::size_t p = rest.find('"') + 1;
    if (!Unescape(rest, p, '"', &value->data)) return false;
    return p + 1 == rest.size();
  }
  if (rest.compare(0, 6, "dword:") == 0) {
    std::string digits = rest.substr(6);
    if (digits.size() != 8) return false;
    DWORD v = 0;
    for (char c : digits) {
      int d = HexDigit(c);
      if (d < 0) return false;
      v = v * 16 + static_cast<DWORD>(d);
    }
    value->type = REG_DWORD;
    value->data.assign(reinterpret_cast<const char*>(&v), 4);
    return true;
  }
  if (rest.compare(0, 4, "hex(") == 0) {
    auto close = rest.find("):");
    if (close == std::string::npos || close == 4) return false;
    DWORD type = 0;
    for (std::size_t i = 4; i < close; ++i) {
      if (rest[i] < '0' || rest[i] > '9') return false;
      type = type * 10 + static_cast<DWORD>(rest[i] - '0');
    }
    value->type = type;
    return ParseHex(rest.substr(close + 2), &value->data);
  }
  return false;
}

}  // namespace

std::string FoldName(const std::string& name) {
  std::string out = name;
  for (char& c : out) if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

Key* Hive::Find(const std::string& path) {
  auto it = keys_.find(FoldName(path));
  return it == keys_.end() ? nullptr : &it->second;
}

Key* Hive::Make(const std::string& path, bool* created) {
  if (created) *created = false;
  if (Key* k = Find(path)) return k;
  if (!path.empty()) Make(Parent(path), nullptr);
  if (created) *created = true;
  Key& k = keys_[FoldName(path)];
  k.path = path;
  return &k;
}

bool Hive::Remove(const std::string& path) {
  if (path.empty() || !Find(path) || !Children(path).empty()) return false;
  keys_.erase(FoldName(path));
  return true;
}

std::vector<std::string> Hive::Children(const std::string& path) const {
  std::vector<std::string> out;
  std::string prefix = path.empty() ? "" : FoldName(path) + "\\";
  for (auto& entry : keys_) {
    const std::string& folded = entry.first;
    if (folded.empty() || folded.compare(0, prefix.size(), prefix) != 0) continue;
    if (folded.find('\\', prefix.size()) != std::string::npos) continue;
    out.push_back(entry.second.path.substr(prefix.size()));
  }
  return out;
}

Value* Hive::FindValue(Key& key, const std::string& name) {
  std::string folded = FoldName(name);
  for (Value& v : key.values) if (FoldName(v.name) == folded) return &v;
  return nullptr;
}

std::string Hive::Serialize() const {
  std::string out = std::string(kHeader) + "\n";
  for (auto& entry : keys_) {
    const Key& k = entry.second;
    if (k.path.empty() && k.values.empty()) continue;  // the root is implied
    out += "[" + EscapeKey(k.path) + "]\n";
    for (const Value& v : k.values) {
      out += v.name.empty() ? "@=" : "\"" + Escape(v.name) + "\"=";
      if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
        out += (v.type == REG_SZ ? "sz:\"" : "expand_sz:\"") + Escape(v.data) + "\"";
      } else if (v.type == REG_DWORD && v.data.size() == 4) {
        DWORD d;
        std::memcpy(&d, v.data.data(), 4);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", d);
        out += buf;
      } else {
        out += "hex(" + std::to_string(v.type) + "):" + Hex(v.data);
      }
      out += "\n";
    }
  }
  out += std::string(kTrailer) + "\n";
  return out;
}

bool Hive::Parse(const std::string& text, Hive* hive, std::string* problem) {
  *hive = Hive();
  std::size_t pos = 0;
  int number = 0;
  Key* current = nullptr;
  bool ended = false;
  while (pos < text.size()) {
    auto nl = text.find('\n', pos);
    if (nl == std::string::npos) {
      *problem = "cut short in line " + std::to_string(number + 1);
      return false;
    }
    std::string line = text.substr(pos, nl - pos);
    pos = nl + 1;
    ++number;
    auto fail = [&](const char* what) {
      *problem = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (ended) return fail("text after the END line");
    if (number == 1) {
      if (line != kHeader) return fail("not a registry file (header missing)");
      continue;
    }
    if (line == kTrailer) {
      ended = true;
      continue;
    }
    if (!line.empty() && line[0] == '[') {
      std::string path;
      if (line.back() != ']' || !UnescapeKey(line.substr(1, line.size() - 2), &path)) return fail("bad key line");
      current = hive->Make(path, nullptr);
      continue;
    }
    Value v;
    if (!current) return fail("value outside any key");
    if (!ParseValue(line, &v)) return fail("bad value line");
    if (Value* old = FindValue(*current, v.name)) *old = v; else current->values.push_back(v);
  }
  if (!ended) {
    *problem = number == 0 ? "empty file" : "cut short (END line missing)";
    return false;
  }
  return true;
}

}  // namespace orv::reg
