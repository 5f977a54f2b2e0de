// The Windows build's language table: the tray program reads it with the ANSI
// profile calls, which pass the bytes on as they stand, so each delivered
// section must read back as its texts in the code page of a Windows set to that
// language.
#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Each section's bytes (from its header to the next) by section name.
std::map<std::string, std::string> Sections(const std::string& text) {
  std::map<std::string, std::string> sections;
  std::size_t at = text.find('[');
  while (at != std::string::npos) {
    const std::size_t close = text.find(']', at);
    if (close == std::string::npos) break;
    std::size_t next = text.find("\n[", close);
    next = next == std::string::npos ? text.size() : next + 1;
    sections[text.substr(at + 1, close - at - 1)] = text.substr(at, next - at);
    at = next < text.size() ? next : std::string::npos;
  }
  return sections;
}

// The bytes read in the code page, as UTF-8; "<invalid>" when they are not text of it.
std::string Decode(const std::string& bytes, const char* codePage) {
  iconv_t cd = iconv_open("UTF-8", codePage);
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no converter>";
  std::string in = bytes, out(bytes.size() * 4 + 16, '\0');
  char* inp = in.data();
  char* outp = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const std::size_t done = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) return "<invalid>";
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

TEST(WindowsLanguageTable, EachSectionReadsBackInItsLanguagesCodePage) {
  const auto shipped = Sections(ReadAll(std::string(ORV_WINDOWS_BIN) + "/StringTable/Language.ini"));
  const auto source = Sections(ReadAll(std::string(ORV_SOURCE_DIR) + "/tray/resources/StringTable/Language.ini"));
  ASSERT_FALSE(source.empty());
  ASSERT_EQ(shipped.size(), source.size());
  const std::map<std::string, const char*> codePages = {
      {"1033", "CP1252"}, {"1031", "CP1252"}, {"1036", "CP1252"}, {"1028", "CP950"}};
  for (const auto& [name, text] : source) {
    ASSERT_TRUE(codePages.count(name)) << "section " << name << " has no expected code page here";
    ASSERT_TRUE(shipped.count(name)) << "section " << name << " is missing";
    EXPECT_EQ(Decode(shipped.at(name), codePages.at(name)), text) << "section " << name;
  }
  // The Chinese texts are not UTF-8 any more: a Traditional Chinese Windows reads them.
  EXPECT_NE(shipped.at("1028"), source.at("1028"));
}
