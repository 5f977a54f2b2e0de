// The simulated notebook's exported power scheme: a small text file of ours (see
// docs/power-scheme-file.md), its settings and the strict reading that tells a
// damaged file from a whole one.
#pragma once
#include <string>

namespace orv::power {

// What a scheme sets, for AC and for battery (DC). Minutes: 0 is never.
struct SchemeSettings {
  int acDisplayOff = 10, dcDisplayOff = 5;
  int acSleep = 30, dcSleep = 15;
  int acProcessorMax = 100, dcProcessorMax = 100;
  int acBrightness = 100, dcBrightness = 70;
  bool operator==(const SchemeSettings& o) const;
};

struct SchemeDefinition {
  std::string name;         // one line of printable text, 1..64 characters
  std::string description;  // one line, at most 256 characters (may be empty)
  SchemeSettings settings;
};

// The file's text: its header line, name, description, settings and checksum.
std::string WriteSchemeFile(const SchemeDefinition& scheme);
// False (with the line and reason in *error) for anything but a whole, valid file.
bool ReadSchemeFile(const std::string& text, SchemeDefinition* out, std::string* error);

// The settings as "key=value" words separated by blanks (the store's form), and back.
std::string SettingsWords(const SchemeSettings& settings);
bool ParseSettingsWords(const std::string& words, SchemeSettings* out, std::string* error);

// Whether a text may stand as a name (printable, no tab, within the length).
bool ValidSchemeText(const std::string& text, std::size_t maxLength, bool mayBeEmpty);

}  // namespace orv::power
