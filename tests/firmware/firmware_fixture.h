// The real firmware provider and the real service, installed and running in a
// private state folder, for the tray's firmware commands.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace orv::test {

class FirmwareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::make_unique<TempHome>();
    ASSERT_EQ(orv::test::Run({Program("orv-sim"), "start"}).exitCode, 0);
    StartService();
  }
  void TearDown() override {
    orv::test::Run({Program("OrvService"), "-remove"});
    orv::test::Run({Program("orv-sim"), "stop"});
    home_.reset();
  }
  static void StartService() {
    RunResult r = orv::test::Run({Program("OrvService"), "-install"});
    ASSERT_NE(r.out.find("Orv Calvex started."), std::string::npos) << r.out;
    ASSERT_TRUE(WaitFor([] {
      return orv::test::Run({Program("orv-scm"), "query", "Orv Calvex"}).out.find("RUNNING") != std::string::npos;
    }));
  }
  static void StopService() { orv::test::Run({Program("OrvService"), "-remove"}); }
  static void Sim(const std::vector<std::string>& words) {
    std::vector<std::string> argv{Program("orv-sim")};
    argv.insert(argv.end(), words.begin(), words.end());
    RunResult r = orv::test::Run(argv);
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  // A register read straight through WMI in this process, not through the service.
  static std::string Local(const std::string& command) {
    return orv::test::Run({Program("orvcmd"), command}).out;
  }

  std::unique_ptr<TempHome> home_;
};

}  // namespace orv::test
