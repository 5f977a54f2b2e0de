// Parsing of "Select * from <Class>": keywords in any letter case, blanks between
// the words, an identifier for the class.
#include "platform/wmi/sim/query.h"

#include "platform/text/sim/ansi.h"
#include "platform/wmi/sim/wire.h"

namespace orv::wmi::detail {
namespace {

bool Blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool Letter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool Digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Splits at blanks.
std::vector<std::u16string> Words(const std::u16string& s) {
  std::vector<std::u16string> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && Blank(s[i])) ++i;
    std::size_t start = i;
    while (i < s.size() && !Blank(s[i])) ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

bool Keyword(const std::u16string& word, const char* kw) {
  return wire::SameName(text::WideToAnsi(word), kw);
}

bool Identifier(const std::u16string& w) {
  if (w.empty() || !Letter(w[0])) return false;
  for (char16_t c : w)
    if (!Letter(c) && !Digit(c)) return false;
  return true;
}

}  // namespace

HRESULT ParseSelectAll(const OLECHAR* language, const OLECHAR* query, std::string* cls) {
  if (!language || !query) return WBEM_E_INVALID_PARAMETER;
  if (!wire::SameName(text::WideToAnsi(language), "WQL")) return WBEM_E_INVALID_QUERY_TYPE;
  auto w = Words(query);
  if (w.size() != 4 || !Keyword(w[0], "select") || w[1] != u"*" || !Keyword(w[2], "from") ||
      !Identifier(w[3]))
    return WBEM_E_INVALID_QUERY;
  *cls = text::WideToAnsi(w[3]);
  return WBEM_S_NO_ERROR;
}

}  // namespace orv::wmi::detail
