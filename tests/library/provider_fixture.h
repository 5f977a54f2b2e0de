// A test fixture that runs the real firmware provider in a private state folder.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "library/OrvWmiAcpi.h"
#include "tests/support/process.h"

namespace orv::test {

class ProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::make_unique<TempHome>();
    RunResult r = orv::test::Run({Program("orv-sim"), "start"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  }
  void TearDown() override {
    orv::test::Run({Program("orv-sim"), "stop"});
    home_.reset();
  }
  // Acts on the simulated notebook; fails the test when the control refuses.
  void Sim(const std::vector<std::string>& words) {
    std::vector<std::string> argv{Program("orv-sim")};
    argv.insert(argv.end(), words.begin(), words.end());
    RunResult r = orv::test::Run(argv);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  }
  // Runs one command string with the bounded parser and a result buffer of size bytes.
  static std::string Cmd(const std::string& command, std::size_t size = 260) {
    std::vector<char> buf(size + 8, '\x5A');
    COrvWmiAcpi wmi;
    wmi.CallOrvWmiAcpiParser(command.c_str(), buf.data(), size);
    for (std::size_t i = size; i < buf.size(); ++i) EXPECT_EQ(buf[i], '\x5A') << "wrote past the buffer";
    return std::string(buf.data(), strnlen(buf.data(), size));
  }

  std::unique_ptr<TempHome> home_;
};

}  // namespace orv::test
