// ShellExecuteExA over the simulated C: drive: a Windows program file starts as
// a real process in the folder asked for (or its own), with its arguments, and
// every call that cannot start anything fails with the shell's codes and starts
// nothing.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

struct Started {
  int pid = 0;
  std::string file, folder, args;
};

class ShellExecute : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_ = home_.path() + "/drive_c";
    Make(drive_ + "/Tools");
    Make(drive_ + "/Work");
    Write(drive_ + "/Tools/Viewer.exe", std::string("MZ") + std::string(62, '\0'));
    Write(drive_ + "/Tools/readme.txt", "not a program\n");
  }
  void TearDown() override {
    for (const Started& s : Programs()) ::kill(s.pid, SIGTERM);
  }
  static void Make(const std::string& path) { std::filesystem::create_directories(path); }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // What the started programs recorded, in order.
  std::vector<Started> Programs() const {
    std::vector<Started> out;
    std::istringstream in(orv::test::ReadFile(home_.path() + "/programs.log"));
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      Started s;
      std::string pid;
      std::getline(fields, pid, '\t');
      std::getline(fields, s.file, '\t');
      std::getline(fields, s.folder, '\t');
      std::getline(fields, s.args);
      s.pid = std::atoi(pid.c_str());
      out.push_back(s);
    }
    return out;
  }
  static SHELLEXECUTEINFOA Info(const char* file, const char* folder = nullptr, const char* verb = "open") {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpDirectory = folder;
    info.nShow = SW_SHOW;
    return info;
  }
  static INT_PTR Code(const SHELLEXECUTEINFOA& info) { return reinterpret_cast<INT_PTR>(info.hInstApp); }

  orv::test::TempHome home_;
  std::string drive_;
};

TEST_F(ShellExecute, StartsAProgramFileAsARunningProcessInItsFolder) {
  SHELLEXECUTEINFOA own = Info("C:\\Tools\\Viewer.exe");
  ASSERT_TRUE(ShellExecuteExA(&own));
  EXPECT_GT(Code(own), 32);
  SHELLEXECUTEINFOA elsewhere = Info("c:\\tools\\viewer.exe", "C:\\Work");
  elsewhere.lpParameters = "one  two";
  ASSERT_TRUE(ShellExecuteExA(&elsewhere));

  ASSERT_TRUE(orv::test::WaitFor([&] { return Programs().size() == 2; }));
  std::vector<Started> started = Programs();
  // Both start; which records first is theirs to decide.
  if (started[0].folder != "C:\\Tools") std::swap(started[0], started[1]);
  EXPECT_EQ(started[0].file, "C:\\Tools\\Viewer.exe");
  EXPECT_EQ(started[0].folder, "C:\\Tools");
  EXPECT_EQ(started[0].args, "");
  EXPECT_EQ(started[1].file, "C:\\Tools\\Viewer.exe") << "the path is given in its own letters";
  EXPECT_EQ(started[1].folder, "C:\\Work");
  EXPECT_EQ(started[1].args, "one two");
  for (const Started& s : started) EXPECT_EQ(::kill(s.pid, 0), 0) << "program " << s.pid << " runs";
}

TEST_F(ShellExecute, StartsNothingForWhatCannotBeOpened) {
  struct Case {
    SHELLEXECUTEINFOA info;
    DWORD error;
    INT_PTR code;
  };
  SHELLEXECUTEINFOA shortRecord = Info("C:\\Tools\\Viewer.exe");
  shortRecord.cbSize = 60;  // a 32-bit caller's record size is not this build's
  std::vector<Case> cases = {
      {shortRecord, ERROR_INVALID_PARAMETER, SE_ERR_NOASSOC},
      {Info(""), ERROR_INVALID_PARAMETER, SE_ERR_NOASSOC},
      {Info("C:\\Tools\\Missing.exe"), ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
      {Info("C:\\Nowhere\\Viewer.exe"), ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
      {Info("C:\\Tools\\Viewer.exe", "C:\\Nowhere"), ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
      {Info("C:\\Tools\\Viewer.exe", nullptr, "print"), ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
      {Info("C:\\Tools\\readme.txt"), ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
      {Info("C:\\Tools"), ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
      {Info("C:\\Tools\\..\\..\\..\\etc\\passwd"), ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
  };
  for (Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(ShellExecuteExA(&c.info)) << c.info.lpFile;
    EXPECT_EQ(GetLastError(), c.error) << c.info.lpFile;
    EXPECT_EQ(Code(c.info), c.code) << c.info.lpFile;
  }
  EXPECT_FALSE(ShellExecuteExA(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(Programs().empty());
}

}  // namespace
