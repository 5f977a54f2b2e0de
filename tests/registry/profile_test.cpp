// Profile-file reads and writes with Windows semantics.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>

#include "platform/fs/sim/paths.h"
#include "tests/support/process.h"

namespace {

constexpr const char* kFile = "C:\\Data\\Settings.ini";

void Put(const std::string& text) {
  CreateDirectoryA("C:\\Data", nullptr);
  std::ofstream(orv::fs::MapPath(kFile).host, std::ios::binary | std::ios::trunc) << text;
}

std::string Contents() {
  std::ifstream f(orv::fs::MapPath(kFile).host, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string Get(const char* section, const char* key, const char* def = "", DWORD size = 2048,
                const char* file = kFile, DWORD* answer = nullptr) {
  std::string buf(size ? size : 1, '\x7f');
  DWORD n = GetPrivateProfileStringA(section, key, def, &buf[0], size, file);
  if (answer) *answer = n;
  return std::string(buf.data(), n);
}

}  // namespace

TEST(Profile, ReadsAsWindowsDoes) {
  orv::test::TempHome home;
  Put("; comment\r\n[QZL]\r\nQZL = C:\\Tools\\app.exe  \r\n[1033]\r\nIDS_A=\"  quoted  \"\r\nIDS_B='x'\r\n"
      "IDS_C=\"half\r\n[1033]\r\nIDS_A=second copy\r\n[Empty]\r\n");
  EXPECT_EQ(Get("qzl", "qzl"), "C:\\Tools\\app.exe");  // case-insensitive, trimmed
  EXPECT_EQ(Get(" QZL ", "QZL"), "C:\\Tools\\app.exe");
  EXPECT_EQ(Get("1033", "IDS_A"), "  quoted  ");        // one pair of quotes removed, first section wins
  EXPECT_EQ(Get("1033", "IDS_B"), "x");
  EXPECT_EQ(Get("1033", "IDS_C"), "\"half");
  EXPECT_EQ(Get("1033", "missing", "fallback  "), "fallback");  // default loses its trailing blanks
  EXPECT_EQ(Get("1033", "missing", nullptr), "");
  EXPECT_EQ(Get("QZL", "QZL", "", 2048, "C:\\Data\\NoSuchFile.ini"), "");
  EXPECT_EQ(Get("QZL", "QZL", "dflt", 2048, "C:\\Data\\NoSuchFile.ini"), "dflt");
  EXPECT_EQ(Get("QZL", "QZL", "", 2048, "c:\\DATA\\settings.INI"), "C:\\Tools\\app.exe");  // path case

  // A text longer than the buffer is cut to size-1 and the answer is size-1.
  DWORD n = 0;
  EXPECT_EQ(Get("QZL", "QZL", "", 8, kFile, &n), "C:\\Tool");
  EXPECT_EQ(n, 7u);
  Put("[S]\r\nlong=" + std::string(3000, 'a') + "\r\n");
  EXPECT_EQ(Get("S", "long").size(), 2047u);

  // Enumerations: NUL-separated names, a final extra NUL; cut lists end in two NULs.
  Put("[One]\r\na=1\r\nbb=2\r\n[Two]\r\n");
  std::string sections = Get(nullptr, nullptr);
  EXPECT_EQ(sections, std::string("One\0Two\0", 8));
  EXPECT_EQ(Get("one", nullptr), std::string("a\0bb\0", 5));
  char small[7];
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", small, sizeof small, kFile), 5u);
  EXPECT_EQ(std::string(small, 7), std::string("One\0T\0\0", 7));
}

TEST(Profile, WritesKeepTheRestOfTheFile) {
  orv::test::TempHome home;
  Put("; keep me\r\n[QZL]\r\nQZL=old\r\nother = 1\r\n\r\n[Next]\r\nk=v\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("qzl", "QZL", "C:\\New\\app.exe", kFile));
  ASSERT_TRUE(WritePrivateProfileStringA("QZL", "added", "yes", kFile));
  ASSERT_TRUE(WritePrivateProfileStringA("Fresh", "key", "value", kFile));
  EXPECT_EQ(Contents(),
            "; keep me\r\n[QZL]\r\nQZL=C:\\New\\app.exe\r\nother = 1\r\nadded=yes\r\n\r\n[Next]\r\nk=v\r\n"
            "[Fresh]\r\nkey=value\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("QZL", "other", nullptr, kFile));
  ASSERT_TRUE(WritePrivateProfileStringA("Next", nullptr, nullptr, kFile));
  EXPECT_EQ(Get("QZL", "other", "gone"), "gone");
  EXPECT_EQ(Get("Next", "k", "gone"), "gone");
  EXPECT_EQ(Get("Fresh", "key"), "value");

  // Texts that would break the file's lines are refused, and the file stays.
  std::string before = Contents();
  EXPECT_FALSE(WritePrivateProfileStringA("QZL", "QZL", "two\r\n[lines]", kFile));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(WritePrivateProfileStringA("QZL", "a=b", "x", kFile));
  EXPECT_FALSE(WritePrivateProfileStringA("Q]Z", "a", "x", kFile));
  EXPECT_EQ(Contents(), before);

  // A missing folder is an error; a missing file is made.
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", "C:\\NoFolder\\x.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "v", "C:\\Data\\New.ini"));
  EXPECT_EQ(Get("S", "k", "", 2048, "C:\\Data\\New.ini"), "v");
}
