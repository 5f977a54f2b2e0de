// What the service tests share: the firmware provider running for each test, the
// service's options and state, the library's pipe client, hand-made connections to
// the pipe's socket, and the descriptors the service holds.
#pragma once
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "platform/home/sim/home.h"
#include "platform/service/sim/database.h"
#include "tests/support/process.h"
#include "tests/support/raw_client.h"

namespace orv::test {

constexpr char kDevice[] = "root\\WMI:Q:Orv_Device:Device:0";

class Service : public ::testing::Test {
 protected:
  void SetUp() override {
    firmware_ = std::make_unique<Child>(std::vector<std::string>{Program("orv-firmware")});
    ASSERT_TRUE(WaitFor([] { return access(home::Path("wmi/provider.sock").c_str(), F_OK) == 0; }));
  }
  void TearDown() override {
    orv::test::Run({Program("OrvService"), "-remove"});
    firmware_->Signal(SIGTERM);
    firmware_->Wait();
  }
  static std::string Svc(const std::string& option) { return orv::test::Run({Program("OrvService"), option}).out; }
  static DWORD State() { return svc::db::ReadStatus("Orv Calvex").status.dwCurrentState; }
  static bool WaitRunning() { return WaitFor([] { return State() == SERVICE_RUNNING; }); }
  static bool WaitSocket(const char* key) {
    return WaitFor([key] { return access(home::Path(std::string("pipe/") + key).c_str(), F_OK) == 0; });
  }
  // The reply text through the library's client, or "<failed>".
  static std::string Ask(const std::string& command) {
    char request[80] = {};
    std::strncpy(request, command.c_str(), 79);
    char reply[800] = {};
    if (!Orv_CallNamePipe(request, sizeof request, reply, sizeof reply)) return "<failed>";
    return reply;
  }
  // What the parser answers for the command when run here directly.
  static std::string Direct(const std::string& command) {
    char result[180] = {};
    COrvWmiAcpi wmi;
    wmi.CallOrvWmiAcpiParser(command.c_str(), result, sizeof result);
    return result;
  }

  TempHome home_;
  std::unique_ptr<Child> firmware_;
};

// The text padded with zero bytes to a request's (or a reply's) size.
inline std::string Padded(const std::string& text, std::size_t size = 80) {
  std::string s = text;
  s.resize(size, '\0');
  return s;
}

// The descriptors a process has open: number and what each refers to.
std::map<int, std::string> OpenFds(int pid);
// The lowest descriptor number the idle server does not use (the next one it
// would get), once only its listening socket is left of the last exchange; -1
// when it does not come to that.
int LowestFreeFdWhenIdle(int pid);

}  // namespace orv::test
