// The registry calls' semantics, as the tray's flag and settings code uses them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <windows.h>
#include "tests/support/process.h"


namespace {

LONG SetText(HKEY key, const char* name, const std::string& text) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

std::string GetText(HKEY root, const char* path, const char* name, LONG* status, DWORD bufferSize = 128) {
  HKEY key;
  *status = RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key);
  if (*status != ERROR_SUCCESS) return "";
  std::string buf(bufferSize, '\0');
  DWORD size = bufferSize, type = 0;
  *status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &size);
  RegCloseKey(key);
  return *status == ERROR_SUCCESS ? std::string(buf.c_str()) : "";
}

}  // namespace

TEST(Registry, CreateSetQueryWithWin32Answers) {
  orv::test::TempHome home;
  LONG s;
  GetText(HKEY_CURRENT_USER, "Software\\Orv\\Calvex\\Log File", "Log File Flag", &s);
  EXPECT_EQ(s, ERROR_FILE_NOT_FOUND);

  HKEY key;
  DWORD disposition = 0;
  char keyClass[] = " ";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orv\\Calvex\\Log File", 0, keyClass, 0, KEY_ALL_ACCESS, nullptr,
                            &key, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  ASSERT_EQ(SetText(key, "Log File Flag", "TRUE"), ERROR_SUCCESS);
  RegCloseKey(key);
  // Key and value names are matched without regard to case.
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, "SOFTWARE\\orv\\CALVEX\\log file", "LOG FILE FLAG", &s), "TRUE");
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "software\\orv\\calvex\\LOG FILE", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

  // Size questions, too small buffers, missing values.
  DWORD size = 0, type = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Log File Flag", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, REG_SZ);
  char small[4];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(key, "Log File Flag", nullptr, &type, reinterpret_cast<BYTE*>(small), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(RegQueryValueExA(key, "No Such Value", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

  // A value of 127 characters fits a 128-byte buffer; 128 characters do not.
  ASSERT_EQ(SetText(key, "Path", std::string(127, 'p')), ERROR_SUCCESS);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Orv\\Calvex\\Log File", "Path", &s).size(), 127u);
  ASSERT_EQ(SetText(key, "Path", std::string(128, 'p')), ERROR_SUCCESS);
  GetText(HKEY_CURRENT_USER, "Software\\Orv\\Calvex\\Log File", "Path", &s);
  EXPECT_EQ(s, ERROR_MORE_DATA);

  // String data without its terminator still reads back terminated.
  ASSERT_EQ(RegSetValueExA(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
  char buf[8];
  std::memset(buf, 'Z', sizeof buf);
  size = sizeof buf;
  ASSERT_EQ(RegQueryValueExA(key, "Bare", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_STREQ(buf, "abc");

  // DWORD values, the default value, deleting, enumerating.
  DWORD n = 0x2A;
  EXPECT_EQ(RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&n), 4), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&n), 2), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetText(key, nullptr, "default"), ERROR_SUCCESS);
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Orv\\Calvex\\Log File", "", &s), "default");
  EXPECT_EQ(RegDeleteValueA(key, "bare"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(key, "bare"), ERROR_FILE_NOT_FOUND);
  char name[64];
  DWORD nameSize = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Log File Flag");
  nameSize = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 4, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);

  // Rights of the handle, stale handles, the other hive.
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orv\\Calvex\\Log File", 0, KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(SetText(key, "Log File Flag", "FALSE"), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetText(key, "x", "y"), ERROR_INVALID_HANDLE);
  GetText(HKEY_LOCAL_MACHINE, "Software\\Orv\\Calvex\\Log File", "Log File Flag", &s);
  EXPECT_EQ(s, ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orv", 0, KEY_READ, &key), ERROR_SUCCESS);
  nameSize = sizeof name;
  EXPECT_EQ(RegEnumKeyExA(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Calvex");
  EXPECT_EQ(RegDeleteKeyA(key, "Calvex"), ERROR_ACCESS_DENIED);  // it has a subkey
  RegCloseKey(key);
}

TEST(Registry, AwkwardTextsSurviveTheFileAndTheTool) {
  orv::test::TempHome home;
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orv\\Calvex", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr), ERROR_SUCCESS);
  const std::string awkward = "a \"quoted\" \\path\\ ]bracket[ line\nbreak\ttab é 中文 %20";
  ASSERT_EQ(SetText(key, "Version", awkward), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, "odd \"name\"\n", "v"), ERROR_SUCCESS);
  RegCloseKey(key);
  LONG s;
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orv\\Calvex", "Version", &s, 256), awkward);
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orv\\Calvex", "odd \"name\"\n", &s), "v");

  auto tool = orv::test::Program("orv-reg");
  auto set = orv::test::Run({tool, "set", "HKCU\\Software\\Orv\\Calvex\\User Define Key", "UserDefineFilePath",
                             "C:\\Program Files\\App\\app.exe"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  auto get = orv::test::Run({tool, "get", "hkcu\\software\\orv\\calvex\\user define key", "userdefinefilepath"});
  EXPECT_EQ(get.exitCode, 0);
  EXPECT_EQ(get.out, "C:\\Program Files\\App\\app.exe\n");
  EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Orv\\Calvex\\User Define Key", "UserDefineFilePath", &s),
            "C:\\Program Files\\App\\app.exe");
  auto list = orv::test::Run({tool, "list", "HKLM\\SOFTWARE\\Orv\\Calvex"});
  EXPECT_NE(list.out.find("Version\tREG_SZ\t"), std::string::npos);
  auto missing = orv::test::Run({tool, "get", "HKCU\\Software\\Nothing", "x"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("not found"), std::string::npos);
  EXPECT_EQ(orv::test::Run({tool, "frobnicate"}).exitCode, 2);
  EXPECT_EQ(orv::test::Run({tool, "set", "HKCU\\A", "n", "--dword", "12x"}).exitCode, 2);
}
