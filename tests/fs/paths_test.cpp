// Windows paths on this machine: case-insensitive resolution, short names, the
// program's own path, appending files, finding files, and the UI language.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>

#include "platform/fs/sim/paths.h"
#include "platform/locale/sim/language.h"
#include "tests/support/process.h"

namespace {

std::string Short(const std::string& path) {
  char buf[512];
  DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf) : std::string("<error ") + std::to_string(GetLastError()) + ">";
}

void Append(const char* path, const std::string& text) {
  HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
  SetFilePointer(h, 0, nullptr, FILE_END);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  EXPECT_EQ(written, text.size());
  CloseHandle(h);
}

struct EnvGuard {
  std::string name;
  EnvGuard(const char* n, const char* value) : name(n) { setenv(n, value, 1); }
  ~EnvGuard() { unsetenv(name.c_str()); }
};

}  // namespace

TEST(Paths, ComponentsResolveWithoutRegardToCaseAndFilesAppend) {
  orv::test::TempHome home;
  ASSERT_TRUE(CreateDirectoryA("C:\\Users", nullptr));
  ASSERT_TRUE(CreateDirectoryA("c:\\users\\Bob", nullptr));
  ASSERT_TRUE(CreateDirectoryA("C:/USERS/bob/Documents", nullptr));
  EXPECT_FALSE(CreateDirectoryA("C:\\Users\\BOB", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  Append("C:\\Users\\Bob\\Documents\\Log.txt", "one ");
  Append("c:\\USERS\\bob\\documents\\LOG.TXT", "two");
  auto m = orv::fs::MapPath("C:\\users\\BOB\\Documents\\log.txt");
  EXPECT_EQ(m.host, home.path() + "/drive_c/Users/Bob/Documents/Log.txt");
  EXPECT_EQ(m.longPath, "C:\\Users\\Bob\\Documents\\Log.txt");
  std::ifstream f(m.host);
  std::stringstream s;
  s << f.rdbuf();
  EXPECT_EQ(s.str(), "one two");

  // A missing folder is never made on the way; CREATE_NEW refuses an existing file.
  EXPECT_EQ(CreateFileA("C:\\Users\\Nobody\\Documents\\Log.txt", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(CreateFileA("C:\\Users\\Bob\\Documents\\Log.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(CreateFileA("C:\\Users\\Bob\\Documents\\None.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(orv::fs::MapPath("\\\\server\\share\\x").valid);
  EXPECT_EQ(orv::fs::MapPath("C:\\Users\\Bob\\..\\Bob\\.\\Documents").longPath, "C:\\Users\\Bob\\Documents");

  // FindFirstFile: exact names, wildcards, and nothing for a missing file.
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA("C:\\users\\bob\\documents\\LOG.TXT", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "Log.txt");
  EXPECT_EQ(data.nFileSizeLow, 7u);
  EXPECT_FALSE(FindNextFileA(find, &data));
  EXPECT_TRUE(FindClose(find));
  find = FindFirstFileA("C:\\Users\\*", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "Bob");
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  FindClose(find);
  EXPECT_EQ(FindFirstFileA("C:\\Users\\Bob\\Documents\\*.ini", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Paths, ShortNamesResolveToTheSameFiles) {
  orv::test::TempHome home;
  // The program folder is the folder of this test program.
  char module[512];
  DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
  EXPECT_EQ(std::string(module, n), "C:\\Program Files\\Orv\\Calvex\\fs_tests");
  EXPECT_EQ(orv::fs::MapPath(module).host, orv::test::Program("fs_tests"));
  char tiny[10];
  EXPECT_EQ(GetModuleFileNameA(nullptr, tiny, sizeof tiny), 10u);
  EXPECT_STREQ(tiny, "C:\\Progra");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  EXPECT_EQ(Short("C:\\Program Files\\Orv\\Calvex\\"), "C:\\PROGRA~1\\Orv\\Calvex\\");
  EXPECT_EQ(orv::fs::MapPath("C:\\PROGRA~1\\ORV\\CALVEX\\fs_tests").host, orv::test::Program("fs_tests"));

  // Clashing long names get ~1, ~2 in the order of their names, and each short
  // name leads back to its own file; in-place conversion works.
  CreateDirectoryA("C:\\Program Data", nullptr);
  CreateDirectoryA("C:\\Long Folder Name", nullptr);
  Append("C:\\Long Folder Name\\settings file.text", "x");
  EXPECT_EQ(Short("C:\\Program Data"), "C:\\PROGRA~1");
  EXPECT_EQ(Short("C:\\Program Files\\Orv\\Calvex"), "C:\\PROGRA~2\\Orv\\Calvex");
  char inPlace[512] = "c:\\long folder name\\SETTINGS FILE.TEXT";
  EXPECT_EQ(GetShortPathNameA(inPlace, inPlace, sizeof inPlace), 24u);
  EXPECT_STREQ(inPlace, "C:\\LONGFO~1\\SETTIN~1.TEX");
  char longForm[512];
  ASSERT_GT(GetLongPathNameA(inPlace, longForm, sizeof longForm), 0u);
  EXPECT_STREQ(longForm, "C:\\Long Folder Name\\settings file.text");
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(inPlace, &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cAlternateFileName, "SETTIN~1.TEX");
  FindClose(find);
  // Too small a buffer answers the size needed; a missing path fails.
  char small[4];
  EXPECT_EQ(GetShortPathNameA("C:\\Long Folder Name", small, sizeof small), 12u);
  EXPECT_EQ(GetShortPathNameA("C:\\Nothing Here\\x", small, sizeof small), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  // Another Windows name for the program folder, with blanks and long names.
  EnvGuard folder("ORV_PROGRAM_FOLDER", "D:\\Apps With Spaces\\Calvex Notebook Tray");
  n = GetModuleFileNameA(nullptr, module, sizeof module);
  EXPECT_EQ(std::string(module, n), "D:\\Apps With Spaces\\Calvex Notebook Tray\\fs_tests");
  EXPECT_EQ(Short("D:\\Apps With Spaces\\Calvex Notebook Tray\\"), "D:\\APPSWI~1\\CALVEX~1\\");
  EXPECT_EQ(orv::fs::MapPath("d:\\APPSWI~1\\calvex~1\\FS_TESTS").host, orv::test::Program("fs_tests"));
}

TEST(Paths, UserNameAndLanguage) {
  char name[256];
  DWORD size = sizeof name;
  ASSERT_TRUE(GetUserNameA(name, &size));
  EXPECT_EQ(size, std::strlen(name) + 1);
  DWORD tooSmall = 1;
  EXPECT_FALSE(GetUserNameA(name, &tooSmall));
  EXPECT_EQ(tooSmall, size);

  using orv::locale::LanguageIdOf;
  EXPECT_EQ(LanguageIdOf("en_US.UTF-8"), 1033);
  EXPECT_EQ(LanguageIdOf("de_DE.UTF-8"), 1031);
  EXPECT_EQ(LanguageIdOf("de_AT"), 3079);
  EXPECT_EQ(LanguageIdOf("fr_FR@euro"), 1036);
  EXPECT_EQ(LanguageIdOf("zh_TW.Big5"), 1028);
  EXPECT_EQ(LanguageIdOf("zh_CN"), 2052);
  EXPECT_EQ(LanguageIdOf("ja_JP"), 1041);
  EXPECT_EQ(LanguageIdOf("de"), 1031);
  EXPECT_EQ(LanguageIdOf("C"), 1033);
  EXPECT_EQ(LanguageIdOf("POSIX"), 1033);
  EXPECT_EQ(LanguageIdOf("xx_YY"), 1033);
  // LC_ALL wins over LANG; an empty variable does not count.
  EnvGuard lang("LANG", "fr_FR.UTF-8");
  EnvGuard messages("LC_MESSAGES", "");
  {
    EnvGuard all("LC_ALL", "zh_TW.UTF-8");
    EXPECT_EQ(GetUserDefaultUILanguage(), 1028);
  }
  EXPECT_EQ(GetUserDefaultUILanguage(), 1036);
}
