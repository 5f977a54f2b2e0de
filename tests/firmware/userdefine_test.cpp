// The installation's settings file UserDefine.ini beside the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/process.h"

namespace {

namespace fs = std::filesystem;

// Runs the probe from its own copy in a fresh folder, with the given settings file.
std::string ProbeWith(const orv::test::TempHome& home, const char* settings) {
  fs::path folder = fs::path(home.path()) / "Program Folder With Long Name";
  fs::create_directories(folder);
  fs::copy_file(orv::test::Program("userdefine-probe"), folder / "userdefine-probe",
                fs::copy_options::overwrite_existing);
  if (settings) std::ofstream(folder / "UserDefine.ini", std::ios::binary) << settings;
  return orv::test::Run({(folder / "userdefine-probe").string()}).out;
}

TEST(UserDefineIni, PresenceAndItsKey) {
  {
    orv::test::TempHome home;
    EXPECT_EQ(ProbeWith(home, nullptr), "absent [unchanged]\n");
  }
  {
    orv::test::TempHome home;
    EXPECT_EQ(ProbeWith(home, "[QZL]\r\nQZL = C:\\Tools\\notes.exe \r\n"), "present [C:\\Tools\\notes.exe]\n");
  }
  {
    orv::test::TempHome home;  // a file without the key still counts as present
    EXPECT_EQ(ProbeWith(home, "[QZL]\n"), "present []\n");
  }
  {
    orv::test::TempHome home;  // at most 511 characters of the value
    std::string text = "[QZL]\nQZL=" + std::string(600, 'p') + "\n";
    EXPECT_EQ(ProbeWith(home, text.c_str()), "present [" + std::string(511, 'p') + "]\n");
  }
}

}  // namespace
