// The line structure of an initialisation file, as the profile calls read and
// edit it: sections headed "[name]", "key=value" lines, and every other line kept
// as it is. Names are matched without regard to case and surrounding blanks; the
// first of several equal sections or keys is the one that counts.
#pragma once
#include <string>
#include <vector>

namespace orv::profile {

struct Line {
  enum Kind { Other, Section, Entry } kind = Other;
  std::string text;   // the line as in the file, without its line end
  std::string name;   // section or key name, trimmed
  std::string value;  // entry value, trimmed (quotes kept)
};

class IniText {
 public:
  explicit IniText(const std::string& content);

  std::vector<std::string> SectionNames() const;
  std::vector<std::string> KeyNames(const std::string& section) const;
  // The value as GetPrivateProfileString gives it (trimmed, one pair of
  // surrounding quotes removed); false when the section or key is absent.
  bool Find(const std::string& section, const std::string& key, std::string* value) const;

  void Set(const std::string& section, const std::string& key, const std::string& value);
  void RemoveKey(const std::string& section, const std::string& key);
  void RemoveSection(const std::string& section);

  std::string Serialize() const;

 private:
  // Index of the section's header line, or -1.
  long SectionAt(const std::string& section) const;
  // One past the section's last line.
  std::size_t SectionEnd(long header) const;
  long KeyAt(long header, const std::string& key) const;

  std::vector<Line> lines_;
  std::string eol_ = "\r\n";
  bool finalEol_ = true;
};

std::string Trim(const std::string& s);

}  // namespace orv::profile
