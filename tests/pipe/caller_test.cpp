// Who waits for a pipe's one instance and who is served: a caller whose request
// is there goes before silent ones that came first, one that gave up is not
// served, one that stays silent past the pipe's default time-out is sent away; and
// a client never talks to a server that another account set up under the name.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/home/sim/home.h"
#include "tests/pipe/pipe_support.h"
#include "tests/support/process.h"
#include "tests/support/raw_client.h"

namespace orv::pipe {
namespace {

using orv::test::RawClient;
const std::string kWelcome("\x01", 1);

TEST(PipeCallers, ThoseWithARequestGoFirstAndThoseWhoLeftOrStaySilentAreNotServed) {
  orv::test::TempHome home;
  const std::string path = orv::home::Path("pipe/room");
  EchoServer server(MakePipe("\\\\.\\pipe\\room", kSddl, 300));  // this server has no deadline of its own
  RawClient holder(path);
  ASSERT_EQ(holder.Receive(), kWelcome);
  RawClient silent(path);
  RawClient gaveUp(path);
  ASSERT_TRUE(gaveUp.Send("gone"));
  gaveUp.Close();
  RawClient ready(path);
  ASSERT_TRUE(ready.Send("first"));
  holder.Close();
  EXPECT_EQ(ready.Receive(), kWelcome) << "the silent caller that came first went first";
  EXPECT_EQ(ready.Receive(), std::string("echo:first", 11));
  EXPECT_EQ(silent.Receive(), kWelcome);
  silent.Close();
  EXPECT_EQ(Call("\\\\.\\pipe\\room", "last", 800, NMPWAIT_WAIT_FOREVER), "echo:last");
  EXPECT_TRUE(orv::test::WaitFor([&] { return server.served() == 2; }));
  EXPECT_EQ(server.served(), 2) << "the request of a caller that gave up was run";

  // Silent past the pipe's default time-out (300 ms here) while the instance is
  // taken: sent away when the room is next looked at.
  RawClient taker(path);
  ASSERT_EQ(taker.Receive(), kWelcome);
  RawClient lingering(path);
  EXPECT_TRUE(orv::test::WaitFor([&] {
    RawClient newcomer(path);  // each arrival has the room looked at
    return lingering.Receive(std::chrono::milliseconds(0)) == "<closed>";
  }, std::chrono::seconds(30)));
}

TEST(PipeCallers, AClientSendsNothingToAServerOfAnotherAccount) {
  if (geteuid() != 0) GTEST_SKIP() << "needs to run a server under another account";
  orv::test::TempHome home;
  // A state folder anyone may write in, as one made in /tmp by someone else would be.
  ASSERT_EQ(chmod(home.path().c_str(), 0777), 0);
  orv::test::Child impostor({"/usr/bin/python3", "-c",
                             "import os, socket, sys\n"
                             "os.setgid(4242); os.setuid(4242)\n"
                             "os.mkdir(sys.argv[1], 0o711)\n"
                             "s = socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET)\n"
                             "s.bind(sys.argv[1] + '/simple'); s.listen(4)\n"
                             "print('ready', flush=True)\n"
                             "c, _ = s.accept(); c.settimeout(30)\n"
                             "try:\n"
                             "    c.send(b'\\x01')\n"
                             "    got = c.recv(100)\n"
                             "except OSError:\n"
                             "    got = b''\n"
                             "print('got' if got else 'nothing', flush=True)\n",
                             orv::home::Path("pipe")});
  ASSERT_TRUE(orv::test::WaitFor([&] { return impostor.Output() == "ready\n"; }, std::chrono::seconds(30)));
  DWORD err = 0;
  EXPECT_EQ(Call("\\\\.\\pipe\\simple", "secret", 800, 1000, &err), "");
  EXPECT_EQ(err, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(impostor.Wait(std::chrono::seconds(30)), 0);
  EXPECT_EQ(impostor.Output(), "ready\nnothing\n");
}

}  // namespace
}  // namespace orv::pipe
