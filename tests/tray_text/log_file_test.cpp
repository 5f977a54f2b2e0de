// The log flag and the six entry formats, written to the user's documents folder.
#include <gtest/gtest.h>

#include <fstream>
#include <cstring>
#include <regex>
#include <sstream>
#include <string>

#include <windows.h>

#include "platform/fs/sim/paths.h"
#include "tests/support/process.h"
#include "tray/core/LogFile.h"

namespace {

std::string User() {
  char name[256];
  DWORD size = sizeof name;
  GetUserNameA(name, &size);
  return name;
}

std::string LogHost() {
  return orv::fs::MapPath("C:\\Users\\" + User() + "\\Documents\\CalvexLogFile.txt").host;
}

void MakeDocuments() {
  CreateDirectoryA("C:\\Users", nullptr);
  CreateDirectoryA(("C:\\Users\\" + User()).c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryA(("C:\\Users\\" + User() + "\\Documents").c_str(), nullptr));
}

std::string Log() {
  std::ifstream f(LogHost(), std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void SetFlag(const char* text) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, LOG_FLAG_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, LOG_FLAG_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(key);
}

}  // namespace

TEST(LogFile, FlagIsOnOnlyForExactlyTrue) {
  orv::test::TempHome home;
  EXPECT_FALSE(ReadLogFlag());  // no key
  SetFlag("TRUE");
  EXPECT_TRUE(ReadLogFlag());
  for (const char* off : {"true", "True", "FALSE", "TRUE ", "", "1"}) {
    SetFlag(off);
    EXPECT_FALSE(ReadLogFlag()) << off;
  }
  SetFlag(std::string(200, 'T').c_str());  // does not fit the 128-byte buffer
  EXPECT_FALSE(ReadLogFlag());
  // The toggle's stores, seen through the shell tool as another process would.
  EXPECT_TRUE(StoreLogFlag(true));
  EXPECT_TRUE(ReadLogFlag());
  auto get = orv::test::Run({orv::test::Program("orv-reg"), "get", "HKCU\\Software\\Orv\\Calvex\\Log File",
                             "Log File Flag"});
  EXPECT_EQ(get.out, "TRUE\n");
  EXPECT_TRUE(StoreLogFlag(false));
  EXPECT_FALSE(ReadLogFlag());
}

TEST(LogFile, SixFormatsAppendedAtTheEnd) {
  orv::test::TempHome home;
  MakeDocuments();
  std::ofstream(LogHost(), std::ios::binary) << "earlier run\r\n";
  CLogFile log;
  log.WriteLog(5, "OnInitial Function");
  log.WriteLog(0, "0x5f");
  log.WriteLog(1, "It's Wirelees's WMIevent");
  log.WriteLog(2, "detail");
  log.WriteLog(3, "eco");
  log.WriteLog(4, "user define");
  log.WriteLog(6, "never");
  log.WriteLog(-1, "never");
  log.WriteLog(0, "0x10");  // the program ends after a level-0 entry
  const std::string ts5 = R"(<<\d\d month \d\d date  \d\d:\d\d:\d\d:\d\d\d>>  )";
  const std::string ts0 = R"(<<\d\d month \d\d date  \d\d:\d\d:\d\d>> \r\n)";
  std::regex expected("earlier run\r\n" + ts5 + "OnInitial Function \r\n" + ts0 +
                      "Calvex receive WMI Event value : 0x5f  \t<< It's Wirelees's WMIevent >>\r\n"
                      "\tdetail\r\n\teco\r\n\tuser define\r\n" +
                      ts0 + "Calvex receive WMI Event value : 0x10  ");
  std::string text = Log();
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
  // A text with printf directives and of any length is written as it is.
  std::string odd = "100% %s %n " + std::string(5000, 'z');
  log.WriteLog(2, odd.c_str());
  EXPECT_EQ(Log().substr(text.size()), "\t" + odd + "\r\n");
}

TEST(LogFile, NoDocumentsFolderMeansNoFileAndNoError) {
  orv::test::TempHome home;
  CLogFile log;
  log.WriteLog(5, "lost");
  EXPECT_FALSE(orv::fs::MapPath("C:\\Users").exists);  // nothing made on the way
}
