// The hive files under stress: damaged and cut-short files, a writer killed in the
// middle of its writes, and two processes writing at once.
#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include <windows.h>
#include "tests/support/process.h"


namespace {

std::string HiveFile(const orv::test::TempHome& home) { return home.path() + "/registry/HKEY_CURRENT_USER.reg"; }

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

LONG Query(const char* name, std::string* text) {
  HKEY key;
  LONG s = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orv\\Test", 0, KEY_QUERY_VALUE, &key);
  if (s != ERROR_SUCCESS) return s;
  char buf[8192];
  DWORD size = sizeof buf;
  s = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(key);
  if (s == ERROR_SUCCESS) *text = buf;
  return s;
}

void Write(const char* name, const std::string& text) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orv\\Test", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1)), ERROR_SUCCESS);
  RegCloseKey(key);
}

}  // namespace

TEST(RegistryReliability, DamagedOrCutShortFilesReadAsEmptyWithAMessageAndAreKept) {
  orv::test::TempHome home;
  Write("Keep", "value");
  std::string good = Slurp(HiveFile(home));
  const std::string damages[] = {
      good.substr(0, good.size() - 4),          // cut short: END missing
      good.substr(0, good.size() / 2),          // cut in the middle of a line
      std::string("\x00\x01garbage\n", 10),     // not a hive at all
      "",                                       // empty
  };
  for (const std::string& damaged : damages) {
    std::ofstream(HiveFile(home), std::ios::binary | std::ios::trunc) << damaged;
    testing::internal::CaptureStderr();  // each problem is reported once per process
    std::string text;
    EXPECT_EQ(Query("Keep", &text), ERROR_FILE_NOT_FOUND);
    testing::internal::GetCapturedStderr();
  }
  // A fresh kind of damage is reported on stderr, naming the file.
  std::ofstream(HiveFile(home), std::ios::binary | std::ios::trunc) << "ORV-REGISTRY 1\n[Software]\nbroken line\nEND\n";
  testing::internal::CaptureStderr();
  std::string text;
  EXPECT_EQ(Query("Keep", &text), ERROR_FILE_NOT_FOUND);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("damaged"), std::string::npos) << err;
  EXPECT_NE(err.find("HKEY_CURRENT_USER.reg"), std::string::npos);

  // The next change keeps the damaged file aside and starts afresh.
  testing::internal::CaptureStderr();
  Write("New", "fresh");
  err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(".damaged"), std::string::npos) << err;
  EXPECT_EQ(Slurp(HiveFile(home) + ".damaged"), "ORV-REGISTRY 1\n[Software]\nbroken line\nEND\n");
  EXPECT_EQ(Query("New", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "fresh");
}

TEST(RegistryReliability, AWriterKilledMidWriteLeavesTheOldOrTheNewValue) {
  orv::test::TempHome home;
  Write("V", "before");
  std::mt19937 random(12345);
  for (int round = 0; round < 8; ++round) {
    orv::test::Child writer({orv::test::Program("registry_writer"), "V", "round" + std::to_string(round), "0"});
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 60));
    writer.Signal(SIGKILL);
    writer.Wait();
    // Another process reads the hive: it must parse, and V must be a whole value.
    auto get = orv::test::Run({orv::test::Program("orv-reg"), "get", "HKCU\\Software\\Orv\\Test", "V"});
    EXPECT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.err, "");
    bool old = get.out == "before\n" || get.out.rfind("round", 0) == 0;
    EXPECT_TRUE(old) << get.out.substr(0, 40);
    if (get.out.rfind("round", 0) == 0) {
      EXPECT_EQ(get.out.size(), get.out.find('x') + 4000 + 1);
    }
  }
}

TEST(RegistryReliability, TwoProcessesWritingAtOnceLoseNothing) {
  orv::test::TempHome home;
  constexpr int kWrites = 40;
  orv::test::Child a({orv::test::Program("registry_writer"), "A", "a", std::to_string(kWrites)});
  orv::test::Child b({orv::test::Program("registry_writer"), "B", "b", std::to_string(kWrites)});
  EXPECT_EQ(a.Wait(std::chrono::seconds(60)), 0);
  EXPECT_EQ(b.Wait(std::chrono::seconds(60)), 0);
  std::string text;
  for (int n = 0; n < kWrites; ++n) {
    EXPECT_EQ(Query(("a#" + std::to_string(n)).c_str(), &text), ERROR_SUCCESS) << n;
    EXPECT_EQ(Query(("b#" + std::to_string(n)).c_str(), &text), ERROR_SUCCESS) << n;
  }
  EXPECT_EQ(Query("A", &text), ERROR_SUCCESS);
  EXPECT_EQ(text.substr(0, 4), "a-" + std::to_string(kWrites - 1));
}
