// OrvService as a whole: the real program against the real firmware provider,
// installed, started, stopped and removed through its options, in debug mode,
// and on the wire as an independent client sees it.
#include <gtest/gtest.h>
#include <poll.h>
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "platform/home/sim/home.h"
#include "platform/service/sim/database.h"
#include "platform/service/sim/eventlog.h"
#include "tests/support/process.h"

namespace orv::test {
namespace {

using Clock = std::chrono::steady_clock;
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
  static bool WaitRunning() {
    return WaitFor([] { return State() == SERVICE_RUNNING; }, std::chrono::seconds(10));
  }
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
  // Killed outright: it reads as stopped, and the next start cleans up after it.
  int pid = svc::db::ReadStatus("Orv Calvex").pid;
  ASSERT_GT(pid, 0);
  kill(pid, SIGKILL);
  ASSERT_TRUE(WaitFor([] { return State() == SERVICE_STOPPED; }));
  EXPECT_EQ(svc::db::ReadStatus("Orv Calvex").status.dwWin32ExitCode, 1067u);
  EXPECT_EQ(Svc("-start"), "Orv Calvex started.\n");
  ASSERT_TRUE(WaitRunning());
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
  auto t0 = Clock::now();
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(std::chrono::seconds(3)), 0);
  EXPECT_LT(Clock::now() - t0, std::chrono::seconds(2));
  EXPECT_EQ(server.Output(), "Debugging Orv Calvex.\nStopping Orv Calvex.\n");
  EXPECT_TRUE(svc::ReadEventLog().empty());
  EXPECT_NE(access(home::Path("pipe/simple").c_str(), F_OK), 0);
  // A second server on the same name while one runs cannot create the pipe.
  Child first({Program("OrvService"), "-debug"});
  ASSERT_TRUE(WaitSocket("simple"));
  auto second = orv::test::Run({Program("OrvService"), "-debug"}, "", std::chrono::seconds(5));
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
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(), 0);
}

// The descriptors a process has open: number and what each refers to.
std::map<int, std::string> OpenFds(int pid) {
  std::map<int, std::string> fds;
  std::string folder = "/proc/" + std::to_string(pid) + "/fd";
  DIR* dir = opendir(folder.c_str());
  if (!dir) return fds;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    char target[256] = {};
    ssize_t n = readlink((folder + "/" + e->d_name).c_str(), target, sizeof target - 1);
    fds[std::atoi(e->d_name)] = n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
  }
  closedir(dir);
  return fds;
}

// The lowest descriptor number the idle server does not use (the next one it
// would get), once only its listening socket is left of the last exchange.
int LowestFreeFdWhenIdle(int pid) {
  std::map<int, std::string> fds;
  bool idle = WaitFor([&] {
    fds = OpenFds(pid);
    int sockets = 0;
    for (auto& [fd, target] : fds) sockets += target.rfind("socket:", 0) == 0;
    return sockets == 1;
  });
  if (!idle) return -1;
  int n = 0;
  while (fds.count(n)) ++n;
  return n;
}

// Connects to the pipe's socket without waiting for the server to take the call.
int RawConnect(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, path.c_str());
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
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
  int waiting = RawConnect(home::Path("pipe/simple"));
  ASSERT_GE(waiting, 0);
  pollfd p{waiting, POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 300), 0) << "no welcome without a descriptor for the call";
  close(waiting);

  // With descriptors again the same server serves the next client.
  ASSERT_EQ(prlimit(server.pid(), RLIMIT_NOFILE, &original, nullptr), 0);
  EXPECT_EQ(Ask(kDevice), device);

  // And while it cannot take calls, a stop still ends it.
  ASSERT_EQ(prlimit(server.pid(), RLIMIT_NOFILE, &exhausted, nullptr), 0);
  waiting = RawConnect(home::Path("pipe/simple"));
  ASSERT_GE(waiting, 0);
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(std::chrono::seconds(10)), 0);
  close(waiting);
}

std::string Hex(const std::string& bytes) {
  static const char* d = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) { out += d[c >> 4]; out += d[c & 15]; }
  return out;
}

std::string Padded(const std::string& text, std::size_t size = 80) {
  std::string s = text;
  s.resize(size, '\0');
  return s;
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

  // One client at a time: a second one gives up after the pipe's 1000 ms.
  int holder = socket(AF_UNIX, SOCK_SEQPACKET, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, home::Path("pipe/simple").c_str());
  ASSERT_EQ(connect(holder, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  char welcome = 0;
  ASSERT_EQ(recv(holder, &welcome, 1, 0), 1);
  auto t0 = Clock::now();
  EXPECT_EQ(Ask(kDevice), "<failed>");
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
  EXPECT_GE(waited, 950);
  EXPECT_LT(waited, 5000);
  close(holder);
  EXPECT_EQ(Ask(kDevice), device);
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(), 0);
}

}  // namespace
}  // namespace orv::test
