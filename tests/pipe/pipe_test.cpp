// Named pipes end to end: a server thread in this process, clients here and in
// separate processes (some under other accounts).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include <windows.h>
#include <sddl.h>

#include "platform/base/sim/unique_fd.h"
#include "platform/home/sim/home.h"
#include "tests/pipe/pipe_support.h"
#include "tests/support/process.h"
#include "tests/support/raw_client.h"

namespace orv::pipe {
namespace {

using orv::test::TempHome;
using Clock = std::chrono::steady_clock;

TEST(Pipe, ExchangeKeepsMessagesWholeAndNamesIgnoreCase) {
  TempHome home;
  EchoServer server(MakePipe("\\\\.\\pipe\\Echo"));
  EXPECT_EQ(Call("\\\\.\\PIPE\\echo", "hello"), "echo:hello");
  EXPECT_EQ(Call("\\\\.\\pipe\\ECHO", "again"), "echo:again");
  // A reply longer than the buffer: ERROR_MORE_DATA with the buffer filled.
  char out[4];
  char x[] = "x";
  DWORD read = 0;
  EXPECT_FALSE(CallNamedPipeA("\\\\.\\pipe\\echo", x, sizeof x, out, sizeof out, &read, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(read, 4u);
  EXPECT_EQ(std::string(out, 4), "echo");
  // Names that are not pipe names, and a pipe no one serves.
  DWORD err = 0;
  Call("simple", "x", 800, 0, &err);
  EXPECT_EQ(err, static_cast<DWORD>(ERROR_INVALID_NAME));
  Call("\\\\.\\pipe\\other", "x", 800, 0, &err);
  EXPECT_EQ(err, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  // Waiting for a pipe: one with a server is there at once, one without fails at once.
  EXPECT_TRUE(WaitNamedPipeA("\\\\.\\pipe\\ECHO", NMPWAIT_USE_DEFAULT_WAIT));
  EXPECT_FALSE(WaitNamedPipeA("\\\\.\\pipe\\other", NMPWAIT_WAIT_FOREVER));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  // The server counts an exchange after its reply is out, so the client may be first.
  EXPECT_TRUE(orv::test::WaitFor([&] { return server.served() == 3; }));
}

TEST(Pipe, ServerReadsLongMessagesInPartsAndSeesClientsGo) {
  TempHome home;
  HANDLE pipe = MakePipe("\\\\.\\pipe\\parts", kSddl, 1000, 0);  // blocking operations
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  std::string reply;
  std::thread client([&] {
    std::string big(99, 'a');
    reply = Call("\\\\.\\pipe\\parts", big);
  });
  EXPECT_TRUE(ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED);
  char buf[80];
  DWORD n = 0;
  EXPECT_FALSE(ReadFile(pipe, buf, sizeof buf, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(n, 80u);
  EXPECT_TRUE(ReadFile(pipe, buf, sizeof buf, &n, nullptr));
  EXPECT_EQ(n, 20u);  // the other 19 characters and the terminator
  EXPECT_TRUE(WriteFile(pipe, "ok", 3, &n, nullptr));
  client.join();
  EXPECT_EQ(reply, "ok");
  EXPECT_TRUE(DisconnectNamedPipe(pipe));

  // A client that connects and leaves: the read reports the broken pipe, a write ERROR_NO_DATA.
  orv::test::RawClient leaving(orv::home::Path("pipe/parts"));
  EXPECT_TRUE(ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED);
  leaving.Close();
  EXPECT_FALSE(ReadFile(pipe, buf, sizeof buf, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
  EXPECT_FALSE(WriteFile(pipe, "x", 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DATA));
  DisconnectNamedPipe(pipe);
  CloseHandle(pipe);
}

TEST(Pipe, OneServerPerNameAndStaleSocketsAreCleanedUp) {
  TempHome home;
  // What a killed server leaves: its socket file, bound but not listening.
  orv::home::MakeDirs(orv::home::Path("pipe"), 0711);
  int stale = socket(AF_UNIX, SOCK_SEQPACKET, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, orv::home::Path("pipe/simple").c_str());
  ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  close(stale);
  DWORD err = 0;
  Call("\\\\.\\pipe\\simple", "x", 800, 0, &err);
  EXPECT_EQ(err, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  HANDLE first = MakePipe("\\\\.\\pipe\\simple");
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  EXPECT_EQ(MakePipe("\\\\.\\pipe\\SIMPLE"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(MakePipe("\\\\.\\pipe\\simple", kSddl, 1000, FILE_FLAG_OVERLAPPED), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_BUSY));
  {
    EchoServer server(first);
    EXPECT_EQ(Call("\\\\.\\pipe\\simple", "live"), "echo:live");
  }
  EXPECT_NE(access(orv::home::Path("pipe/simple").c_str(), F_OK), 0) << "socket removed on close";
  HANDLE again = MakePipe("\\\\.\\pipe\\simple");
  EXPECT_NE(again, INVALID_HANDLE_VALUE);
  CloseHandle(again);
}

TEST(Pipe, FolderAndSocketPermissionsFollowTheDescriptor) {
  TempHome home;
  HANDLE open = MakePipe("\\\\.\\pipe\\users");
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  struct stat st {};
  ASSERT_EQ(stat(orv::home::Path("pipe/users").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666u);
  ASSERT_EQ(stat(orv::home::Path("pipe").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0022, 0u);
  EXPECT_EQ(st.st_uid, geteuid());
  HANDLE closed = MakePipe("\\\\.\\pipe\\system-only", "D:(A;;GA;;;SY)");
  ASSERT_NE(closed, INVALID_HANDLE_VALUE);
  ASSERT_EQ(stat(orv::home::Path("pipe/system-only").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  CloseHandle(open);
  CloseHandle(closed);

  // A folder others may write in, or one another account owns, could hold an impostor's socket.
  ASSERT_EQ(chmod(orv::home::Path("pipe").c_str(), 0777), 0);
  EXPECT_EQ(MakePipe("\\\\.\\pipe\\users"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ASSERT_EQ(chmod(orv::home::Path("pipe").c_str(), 0711), 0);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(orv::home::Path("pipe").c_str(), 65534, 65534), 0);
    EXPECT_EQ(MakePipe("\\\\.\\pipe\\users"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  }
}

TEST(Pipe, ItsLockIsForItsAccountAloneAndItsTimeOutForEveryAccount) {
  TempHome home;
  // A lock file an older server left open to everyone.
  ASSERT_EQ(mkdir(orv::home::Path("pipe").c_str(), 0711), 0);
  const std::string lock = orv::home::Path("pipe/timed.lock"), wait = orv::home::Path("pipe/timed.wait");
  {
    orv::sim::unique_fd old(open(lock.c_str(), O_RDWR | O_CREAT, 0644));
    ASSERT_TRUE(old);
    ASSERT_EQ(fchmod(old.get(), 0644), 0);
  }
  HANDLE pipe = MakePipe("\\\\.\\pipe\\timed", kSddl, 700);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  struct stat st {};
  ASSERT_EQ(stat(lock.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "another account could hold the lock and keep the server from starting";
  ASSERT_EQ(stat(wait.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  EXPECT_EQ(orv::test::ReadFile(wait), "700\n");
  EXPECT_TRUE(WaitNamedPipeA("\\\\.\\pipe\\timed", NMPWAIT_USE_DEFAULT_WAIT));

  if (geteuid() == 0) {
    ASSERT_EQ(chmod(home.path().c_str(), 0711), 0);
    orv::test::Child other({"/usr/bin/python3", "-c",
                            "import fcntl, os, sys\n"
                            "os.setgid(4242); os.setuid(4242)\n"
                            "try:\n"
                            "    fcntl.flock(os.open(sys.argv[1], os.O_RDONLY), fcntl.LOCK_SH | fcntl.LOCK_NB)\n"
                            "    print('locked')\n"
                            "except PermissionError:\n"
                            "    print('denied')\n"
                            "print(open(sys.argv[2]).read().strip(), flush=True)\n",
                            lock, wait});
    EXPECT_EQ(other.Wait(std::chrono::seconds(30)), 0);
    EXPECT_EQ(other.Output(), "denied\n700\n");
  }
  CloseHandle(pipe);
}

TEST(Pipe, StopEventEndsAPendingConnectAndCancelAborts) {
  TempHome home;
  HANDLE pipe = MakePipe("\\\\.\\pipe\\idle");
  HANDLE stop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE io = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  OVERLAPPED ov{};
  ov.hEvent = io;
  EXPECT_FALSE(ConnectNamedPipe(pipe, &ov));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
  DWORD n = 0;
  EXPECT_FALSE(GetOverlappedResult(pipe, &ov, &n, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_INCOMPLETE));
  EXPECT_FALSE(ReadFile(pipe, &n, sizeof n, &n, &ov));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY)) << "one operation at a time";
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SetEvent(stop);
  });
  HANDLE events[2] = {stop, io};
  EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, INFINITE), WAIT_OBJECT_0);
  stopper.join();
  EXPECT_TRUE(CancelIo(pipe));
  EXPECT_FALSE(GetOverlappedResult(pipe, &ov, &n, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
  EXPECT_EQ(WaitForSingleObject(io, 0), WAIT_OBJECT_0) << "the abort completes the record";
  CloseHandle(pipe);
  CloseHandle(stop);
  CloseHandle(io);
}

TEST(Pipe, EventsResetAsCreatedAndWaitsPickTheLowestSignalled) {
  HANDLE autoReset = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE both[2] = {manual, autoReset};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT) << "consumed by the wait";
  SetEvent(manual);
  SetEvent(autoReset);
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0) << "a manual-reset event stays set";
  ResetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 10), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);
  EXPECT_EQ(CreateEventA(nullptr, FALSE, FALSE, "named"), nullptr);
  CloseHandle(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(SetEvent(manual));
  CloseHandle(autoReset);
}

TEST(Pipe, BusyPipeMakesTheNextClientWaitForTheDefaultTimeOut) {
  TempHome home;
  EchoServer server(MakePipe("\\\\.\\pipe\\busy", kSddl, 1000));
  // Welcomed, then never sends: this server has no deadline, so the one instance stays taken.
  orv::test::RawClient holder(orv::home::Path("pipe/busy"));
  ASSERT_EQ(holder.Receive(), std::string("\x01", 1));
  auto t0 = Clock::now();
  DWORD err = 0;
  Call("\\\\.\\pipe\\busy", "second", 800, NMPWAIT_USE_DEFAULT_WAIT, &err);
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
  EXPECT_EQ(err, static_cast<DWORD>(ERROR_PIPE_BUSY));
  EXPECT_GE(waited, 950);
  EXPECT_LT(waited, 20000) << "the wait has an end";
  // A client still waiting when the instance comes free is served.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    holder.Close();
  });
  EXPECT_EQ(Call("\\\\.\\pipe\\busy", "third", 800, 20000, &err), "echo:third") << err;
  release.join();
}

TEST(Pipe, SecurityRefusesGuestsAndAnonymousBeforeReading) {
  if (geteuid() != 0) GTEST_SKIP() << "needs to run a client under other accounts";
  TempHome home;
  ASSERT_EQ(chmod(home.path().c_str(), 0755), 0);  // other accounts reach the pipe folder
  EchoServer server(MakePipe("\\\\.\\pipe\\guarded"));
  auto call = [](const char* uid) {
    return orv::test::Run({orv::test::Program("orv-pipe-call"), "--uid", uid, "\\\\.\\pipe\\guarded", "hi"}).out;
  };
  EXPECT_EQ(call("65534"), "error 5\n") << "nobody is anonymous";
  EXPECT_EQ(call("4242"), "ok 8 echo:hi\n") << "an ordinary local user";
  EXPECT_EQ(call("0"), "ok 8 echo:hi\n");
  EXPECT_TRUE(orv::test::WaitFor([&] { return server.served() == 2; }));
}

}  // namespace
}  // namespace orv::pipe
