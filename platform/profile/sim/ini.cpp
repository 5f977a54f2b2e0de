// Reading and editing the lines of an initialisation file.
#include "platform/profile/sim/ini.h"

namespace orv::profile {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

Line Classify(const std::string& text) {
  Line line;
  line.text = text;
  std::string t = Trim(text);
  if (!t.empty() && t[0] == '[') {
    auto close = t.find(']');
    line.kind = Line::Section;
    line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  auto eq = t.find('=');
  if (t.empty() || t[0] == ';' || eq == std::string::npos) return line;
  line.kind = Line::Entry;
  line.name = Trim(t.substr(0, eq));
  line.value = Trim(t.substr(eq + 1));
  return line;
}

}  // namespace

std::string Trim(const std::string& s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  std::size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

IniText::IniText(const std::string& content) {
  std::string text = content;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);  // a UTF-8 mark is not part of the text
  if (!text.empty() && text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos) eol_ = "\n";
  finalEol_ = text.empty() || text.back() == '\n';
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto nl = text.find('\n', pos);
    std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(Classify(line));
    if (nl == std::string::npos) break;
    pos = nl + 1;
  }
}

long IniText::SectionAt(const std::string& section) const {
  std::string wanted = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Line::Section && SameName(lines_[i].name, wanted)) return static_cast<long>(i);
  }
  return -1;
}

std::size_t IniText::SectionEnd(long header) const {
  std::size_t i = static_cast<std::size_t>(header) + 1;
  while (i < lines_.size() && lines_[i].kind != Line::Section) ++i;
  return i;
}

long IniText::KeyAt(long header, const std::string& key) const {
  std::string wanted = Trim(key);
  std::size_t end = SectionEnd(header);
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Entry && SameName(lines_[i].name, wanted)) return static_cast<long>(i);
  }
  return -1;
}

std::vector<std::string> IniText::SectionNames() const {
  std::vector<std::string> names;
  for (auto& l : lines_) if (l.kind == Line::Section) names.push_back(l.name);
  return names;
}

std::vector<std::string> IniText::KeyNames(const std::string& section) const {
  std::vector<std::string> names;
  long header = SectionAt(section);
  if (header < 0) return names;
  std::size_t end = SectionEnd(header);
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Entry) names.push_back(lines_[i].name);
  }
  return names;
}

bool IniText::Find(const std::string& section, const std::string& key, std::string* value) const {
  long header = SectionAt(section);
  if (header < 0) return false;
  long at = KeyAt(header, key);
  if (at < 0) return false;
  std::string v = lines_[static_cast<std::size_t>(at)].value;
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  *value = v;
  return true;
}

void IniText::Set(const std::string& section, const std::string& key, const std::string& value) {
  finalEol_ = true;
  long header = SectionAt(section);
  if (header < 0) {
    lines_.push_back(Classify("[" + section + "]"));
    lines_.push_back(Classify(key + "=" + value));
    return;
  }
  long at = KeyAt(header, key);
  if (at >= 0) {
    auto& line = lines_[static_cast<std::size_t>(at)];
    line = Classify(line.name + "=" + value);
    return;
  }
  // After the section's last entry, so blank lines before the next section stay there.
  std::size_t insert = static_cast<std::size_t>(header) + 1;
  std::size_t end = SectionEnd(header);
  for (std::size_t i = insert; i < end; ++i) if (lines_[i].kind != Line::Other || !Trim(lines_[i].text).empty()) insert = i + 1;
  lines_.insert(lines_.begin() + static_cast<long>(insert), Classify(key + "=" + value));
}

void IniText::RemoveKey(const std::string& section, const std::string& key) {
  long header = SectionAt(section);
  if (header < 0) return;
  long at = KeyAt(header, key);
  if (at >= 0) lines_.erase(lines_.begin() + at);
}

void IniText::RemoveSection(const std::string& section) {
  long header = SectionAt(section);
  if (header < 0) return;
  lines_.erase(lines_.begin() + header, lines_.begin() + static_cast<long>(SectionEnd(header)));
}

std::string IniText::Serialize() const {
  std::string out;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i].text;
    if (i + 1 < lines_.size() || finalEol_) out += eol_;
  }
  return out;
}

}  // namespace orv::profile
