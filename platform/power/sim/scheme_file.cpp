// Writing and strict reading of the scheme file; its checksum is FNV-1a (32 bits)
// over every byte before the checksum line.
#include "platform/power/sim/scheme_file.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>

namespace orv::power {
namespace {

constexpr char kHeader[] = "Orv power scheme 1";
constexpr std::size_t kMaxFile = 64 * 1024;

struct SettingKey {
  const char* name;
  int SchemeSettings::*field;
  int min, max;
};

const SettingKey kKeys[] = {
    {"ac.display_off", &SchemeSettings::acDisplayOff, 0, 999},
    {"dc.display_off", &SchemeSettings::dcDisplayOff, 0, 999},
    {"ac.sleep", &SchemeSettings::acSleep, 0, 999},
    {"dc.sleep", &SchemeSettings::dcSleep, 0, 999},
    {"ac.processor_max", &SchemeSettings::acProcessorMax, 5, 100},
    {"dc.processor_max", &SchemeSettings::dcProcessorMax, 5, 100},
    {"ac.brightness", &SchemeSettings::acBrightness, 0, 100},
    {"dc.brightness", &SchemeSettings::dcBrightness, 0, 100},
};
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

std::uint32_t Fnv1a(const std::string& bytes) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

std::string Hex8(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(v));
  return text;
}

bool ParseInt(const std::string& s, int min, int max, int* out) {
  if (s.empty() || s.size() > 4) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < min || v > max) return false;
  *out = v;
  return true;
}

// One "key=value" of the settings; seen marks which keys were given.
bool TakeSetting(const std::string& key, const std::string& value, SchemeSettings* s, std::vector<bool>* seen,
                 std::string* why) {
  for (std::size_t i = 0; i < kKeyCount; ++i) {
    if (key != kKeys[i].name) continue;
    if ((*seen)[i]) return *why = "\"" + key + "\" given twice", false;
    if (!ParseInt(value, kKeys[i].min, kKeys[i].max, &(s->*kKeys[i].field)))
      return *why = "bad value \"" + value + "\" for " + key, false;
    (*seen)[i] = true;
    return true;
  }
  return *why = "unknown key \"" + key + "\"", false;
}

bool AllSeen(const std::vector<bool>& seen, std::string* why) {
  for (std::size_t i = 0; i < kKeyCount; ++i)
    if (!seen[i]) return *why = std::string("no ") + kKeys[i].name, false;
  return true;
}

}  // namespace

bool SchemeSettings::operator==(const SchemeSettings& o) const {
  for (const SettingKey& k : kKeys)
    if (this->*k.field != o.*k.field) return false;
  return true;
}

bool ValidSchemeText(const std::string& text, std::size_t maxLength, bool mayBeEmpty) {
  if (text.size() > maxLength || (text.empty() && !mayBeEmpty)) return false;
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return false;  // UTF-8 beyond ASCII passes
  return true;
}

std::string SettingsWords(const SchemeSettings& s) {
  std::string out;
  for (const SettingKey& k : kKeys) out += (out.empty() ? "" : " ") + std::string(k.name) + "=" + std::to_string(s.*k.field);
  return out;
}

bool ParseSettingsWords(const std::string& words, SchemeSettings* out, std::string* error) {
  SchemeSettings s;
  std::vector<bool> seen(kKeyCount, false);
  std::istringstream in(words);
  std::string word;
  while (in >> word) {
    const auto eq = word.find('=');
    if (eq == std::string::npos) return *error = "no '=' in \"" + word + "\"", false;
    if (!TakeSetting(word.substr(0, eq), word.substr(eq + 1), &s, &seen, error)) return false;
  }
  if (!AllSeen(seen, error)) return false;
  *out = s;
  return true;
}

std::string WriteSchemeFile(const SchemeDefinition& scheme) {
  std::string body = std::string(kHeader) + "\nname=" + scheme.name + "\ndescription=" + scheme.description + "\n";
  for (const SettingKey& k : kKeys) body += std::string(k.name) + "=" + std::to_string(scheme.settings.*k.field) + "\n";
  return body + "checksum=" + Hex8(Fnv1a(body)) + "\n";
}

bool ReadSchemeFile(const std::string& text, SchemeDefinition* out, std::string* error) {
  if (text.size() > kMaxFile) return *error = "longer than any scheme file", false;
  // The checksum line is the last one, and covers everything before it.
  const std::string marker = "checksum=";
  const std::size_t at = text.rfind("\n" + marker);
  if (at == std::string::npos) return *error = "no checksum line", false;
  const std::string body = text.substr(0, at + 1);
  std::string sum = text.substr(at + 1 + marker.size());
  if (!sum.empty() && sum.back() == '\n') sum.pop_back();
  if (!sum.empty() && sum.back() == '\r') sum.pop_back();
  if (sum != Hex8(Fnv1a(body))) return *error = "the checksum does not match the contents", false;

  SchemeDefinition d;
  std::vector<bool> seen(kKeyCount, false);
  bool named = false, described = false;
  std::istringstream in(body);
  std::string line;
  int lineNo = 0;
  auto fail = [&](const std::string& why) { return *error = "line " + std::to_string(lineNo) + ": " + why, false; };
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNo == 1) {
      if (line != kHeader) return fail("not an Orv power scheme file");
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos) return fail("no '=' in \"" + line + "\"");
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    std::string why;
    if (key == "name") {
      if (named || !ValidSchemeText(value, 64, false)) return fail("bad or repeated name");
      d.name = value;
      named = true;
    } else if (key == "description") {
      if (described || !ValidSchemeText(value, 256, true)) return fail("bad or repeated description");
      d.description = value;
      described = true;
    } else if (!TakeSetting(key, value, &d.settings, &seen, &why)) {
      return fail(why);
    }
  }
  std::string why;
  if (!named) return *error = "no name", false;
  if (!AllSeen(seen, &why)) return *error = why, false;
  *out = d;
  return true;
}

}  // namespace orv::power
