// OrvService as a whole: the real program against the real firmware provider,
// installed, started, stopped and removed through its options, in debug mode,
// and on the wire as an independent client sees it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "platform/home/sim/home.h"
#include "platform/service/sim/database.h"
#include "platform/service/sim/eventlog.h"
#include "tests/service/service_fixture.h"

namespace orv::test {
namespace {

TEST_F(Service, WithoutAnOptionItPrintsUsageAndTheDispatcherFailsOutsideTheManager) {
  const std::string usage =
      "Orv Calvex -install          to install the service\n"
      "Orv Calvex -start          to start the service\n"
      "Orv Calvex -stop          to stop the service\n"
      "Orv Calvex -remove           to remove the service\n"
      "Orv Calvex -debug <params>   to run as a console app for debugging\n"
      "\nStartServiceCtrlDispatcher being called.\n"
      "This may take several seconds.  Please wait.\n";
  auto r = orv::test::Run({Program("OrvService")});
  EXPECT_EQ(r.out, usage);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(orv::test::Run({Program("OrvService"), "now", "-install"}).out, usage) << "only the first argument counts";
  EXPECT_EQ(orv::test::Run({Program("OrvService"), "-bogus"}).out, usage);
  auto log = svc::ReadEventLog("Orv Calvex");
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].type, "Error");
  EXPECT_EQ(log[0].strings, (std::vector<std::string>{"Orv Calvex error: 1063", "StartServiceCtrlDispatcher failed."}));
  EXPECT_EQ(orv::test::Run({Program("orv-scm"), "query", "Orv Calvex"}).out, "Orv Calvex: error 1060\n");
}

TEST_F(Service, InstallStartStopAndRemoveWithTheirLines) {
  EXPECT_EQ(Svc("/INSTALL"), "Orv Calvex installed.\nOrv Calvex started.\n");
  ASSERT_TRUE(WaitRunning());
  EXPECT_EQ(Ask(kDevice), Direct(kDevice));
  EXPECT_NE(Ask(kDevice), "<failed>");
  EXPECT_EQ(Svc("-InStAlL"), "CreateService failed - The specified service already exists. (0x431)\n");
  EXPECT_EQ(Svc("-start"), "StartService failed - An instance of the service is already running. (0x420)\n");
  EXPECT_EQ(Svc("-stop"), "Stopping Orv Calvex.\nOrv Calvex stopped.\n");
  EXPECT_EQ(State(), SERVICE_STOPPED);
  EXPECT_EQ(svc::db::ReadStatus("Orv Calvex").status.dwWin32ExitCode, 0u);
  EXPECT_EQ(Ask(kDevice), "<failed>");
  EXPECT_EQ(Svc("-stop"), "StopService failed - The service has not been started. (0x426)\n");

  // A machine start brings the automatic service up again.
  EXPECT_EQ(orv::test::Run({Program("orv-scm"), "boot"}).out, "1 started\n");
  ASSERT_TRUE(WaitRunning());
  // Killed outright: the manager starts it again by itself, as the install asked.
  int pid = svc::db::ReadStatus("Orv Calvex").pid;
  ASSERT_GT(pid, 0);
  kill(pid, SIGKILL);
  // State and process from one reading: between the kill and the restart the
  // record says stopped without a process, which two readings could mix.
  ASSERT_TRUE(WaitFor([pid] {
    const svc::db::Status now = svc::db::ReadStatus("Orv Calvex");
    return now.status.dwCurrentState == SERVICE_RUNNING && now.pid > 0 && now.pid != pid;
  }));
  EXPECT_EQ(Ask(kDevice), Direct(kDevice));

  EXPECT_EQ(Svc("-remove"), "Stopping Orv Calvex.\nOrv Calvex stopped.\nOrv Calvex removed.\n");
  EXPECT_EQ(Svc("-remove"),
            "OpenService failed - The specified service does not exist as an installed service. (0x424)\n");
  // Removing a stopped service says nothing about stopping.
  EXPECT_EQ(Svc("-install"), "Orv Calvex installed.\nOrv Calvex started.\n");
  ASSERT_TRUE(WaitRunning());
  EXPECT_EQ(Svc("-stop"), "Stopping Orv Calvex.\nOrv Calvex stopped.\n");
  EXPECT_EQ(Svc("-remove"), "Orv Calvex removed.\n");
  EXPECT_TRUE(svc::ReadEventLog("Orv Calvex").empty()) << "nothing failed";
}

TEST_F(Service, DebugModeEndsAtOnceOnCtrlCAndReportsNothing) {
  Child server({Program("OrvService"), "-debug"});
  ASSERT_TRUE(WaitSocket("simple"));
  EXPECT_EQ(Ask("nonsense"), "Please input correct parameter !");
  // The server waits for a client without a time-out, so only the stop event ends it.
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(std::chrono::seconds(30)), 0);
  EXPECT_EQ(server.Output(), "Debugging Orv Calvex.\nStopping Orv Calvex.\n");
  EXPECT_TRUE(svc::ReadEventLog().empty());
  EXPECT_NE(access(home::Path("pipe/simple").c_str(), F_OK), 0);
  // A second server on the same name while one runs cannot create the pipe.
  Child first({Program("OrvService"), "-debug"});
  ASSERT_TRUE(WaitSocket("simple"));
  auto second = orv::test::Run({Program("OrvService"), "-debug"});
  EXPECT_EQ(second.out, "Debugging Orv Calvex.\n");
  EXPECT_EQ(second.exitCode, 0);
  // A request to end the program is a close event, which the console handler does
  // not take (only Ctrl+C and Ctrl+Break stop the server): the process ends at once.
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(), -1);
  EXPECT_FALSE(first.Running()) << "the close event did not end the server";
  EXPECT_EQ(first.Output(), "Debugging Orv Calvex.\n");
}

TEST_F(Service, PipeOptionMovesTheServerAwayFromTheFixedClient) {
  Child server({Program("OrvService"), "-debug", "-PIPE", "other"});
  ASSERT_TRUE(WaitSocket("other"));
  EXPECT_EQ(Ask(kDevice), "<failed>");
  auto r = orv::test::Run({Program("orv-pipe-call"), "\\\\.\\pipe\\other", kDevice});
  EXPECT_EQ(r.out, "ok 180 " + Direct(kDevice) + "\n");
  // Ctrl+Break (Ctrl+\ in this console) stops the server as Ctrl+C does.
  server.Signal(SIGQUIT);
  EXPECT_EQ(server.Wait(), 0);
  EXPECT_EQ(server.Output(), "Debugging Orv Calvex.\nStopping Orv Calvex.\n");
}

TEST_F(Service, AServerThatCannotTakeClientsStillStopsAndRecovers) {
  Child server({Program("OrvService"), "-debug"});
  ASSERT_TRUE(WaitSocket("simple"));
  const std::string device = Direct(kDevice);
  ASSERT_EQ(Ask(kDevice), device);

  // No descriptor left for the server: every accept of the waiting client fails.
  rlimit original{};
  ASSERT_EQ(prlimit(server.pid(), RLIMIT_NOFILE, nullptr, &original), 0);
  rlimit exhausted = original;
  int lowestFree = LowestFreeFdWhenIdle(server.pid());
  ASSERT_GT(lowestFree, 0);
  exhausted.rlim_cur = static_cast<rlim_t>(lowestFree);
  ASSERT_EQ(prlimit(server.pid(), RLIMIT_NOFILE, &exhausted, nullptr), 0);
  {
    RawClient waiting(home::Path("pipe/simple"));
    ASSERT_TRUE(waiting.connected());
    EXPECT_EQ(waiting.Receive(std::chrono::milliseconds(300)), "<none>") << "no welcome without a descriptor for the call";
  }

  // With descriptors again the same server serves the next client.
  ASSERT_EQ(prlimit(server.pid(), RLIMIT_NOFILE, &original, nullptr), 0);
  EXPECT_EQ(Ask(kDevice), device);

  // And while it cannot take calls, a stop still ends it.
  ASSERT_EQ(prlimit(server.pid(), RLIMIT_NOFILE, &exhausted, nullptr), 0);
  RawClient waiting(home::Path("pipe/simple"));
  ASSERT_TRUE(waiting.connected());
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(std::chrono::seconds(30)), 0);
}

std::string Hex(const std::string& bytes) {
  static const char* d = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) { out += d[c >> 4]; out += d[c & 15]; }
  return out;
}

// The reply line the wire client prints for a 180-byte reply holding text and zero filler.
std::string ReplyLine(const std::string& text) { return "180 " + Hex(Padded(text, 180)) + " \n"; }

TEST_F(Service, WireFormatAndRequestHandling) {
  Child server({Program("OrvService"), "-debug"});
  ASSERT_TRUE(WaitSocket("simple"));
  std::string device = Direct(kDevice);
  std::string noNul = std::string("root\\WMI:Q:Orv_Device:Device:") + std::string(50, '0') + ":";
  ASSERT_EQ(noNul.size(), 80u);
  auto wire = orv::test::Run({"/usr/bin/python3", std::string(ORV_SOURCE_DIR) + "/tests/service/wire_client.py",
                   home::Path("pipe/simple"),
                   Hex(Padded(kDevice)),                    // an ordinary request
                   Hex(Padded("root\\WMI:M:anything")),     // M writes nothing: an empty reply, not the last one
                   Hex(noNul),                              // no terminator: cut at 79 characters
                   Hex(Padded(kDevice, 100)),               // too long: no reply at all
                   Hex(Padded("root\\CIMV2:S:Win32_BIOS:SMBIOSBIOSVersion:0:1")),
                   Hex(Padded("ROOT\\wmi:S:Orv_Software:Software:0:1")),
                   Hex(Padded("root\\WMI:S:Win32_Fan:Speed:0:1"))});
  EXPECT_EQ(wire.out, ReplyLine(device) + ReplyLine("") + ReplyLine(device) + "closed\n" +
                          ReplyLine("WBEM_E_ACCESS_DENIED") + ReplyLine("1") + ReplyLine("WBEM_E_ACCESS_DENIED"))
      << wire.err;
  EXPECT_NE(Ask("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0"), "WBEM_E_ACCESS_DENIED") << "queries are not filtered";

  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(), 0);
}

}  // namespace
}  // namespace orv::test
