// No client can hold the service's pipe: silent, vanishing, flooding, greedy and
// piling clients against the real OrvService and firmware provider, each followed
// by the library's own call, which must be answered within its 1000 ms wait for
// the busy pipe; and nothing of them stays behind in the server.
#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <memory>
#include <vector>

#include "tests/service/service_fixture.h"

namespace orv::test {
namespace {

const std::string kWelcome("\x01", 1);

// The reply text of a call that waits for the busy pipe as long as it takes, or "<failed>".
std::string AskWaitingForever(const std::string& command) {
  char request[80] = {};
  command.copy(request, sizeof request - 1);
  char reply[180] = {};
  DWORD read = 0;
  if (!CallNamedPipeA("\\\\.\\pipe\\simple", request, sizeof request, reply, sizeof reply, &read,
                      NMPWAIT_WAIT_FOREVER)) {
    return "<failed>";
  }
  return std::string(reply, strnlen(reply, sizeof reply));
}

TEST_F(Service, NoClientCanHoldThePipe) {
  Child server({Program("OrvService"), "-debug"});
  ASSERT_TRUE(WaitSocket("simple"));
  const std::string device = Direct(kDevice);
  const std::string path = home::Path("pipe/simple");

  // Taken, then silent: dropped at the deadline, and the caller waiting meanwhile
  // (for as long as it takes, so a slow machine cannot fail it) is answered.
  RawClient silent(path);
  ASSERT_EQ(silent.Receive(), kWelcome);
  auto waiting = std::async(std::launch::async, [] { return AskWaitingForever(kDevice); });
  EXPECT_EQ(silent.Receive(std::chrono::seconds(60)), "<closed>") << "dropped without a reply";
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "the waiting caller was not served";
  EXPECT_EQ(waiting.get(), device);
  EXPECT_EQ(Ask(kDevice), device);

  // Connected, then its process killed.
  {
    Child vanishing({"/usr/bin/python3", "-c",
                     "import socket, sys, time\n"
                     "s = socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET)\n"
                     "s.connect(sys.argv[1])\n"
                     "print(s.recv(1).hex(), flush=True)\n"
                     "time.sleep(600)\n",
                     path});
    ASSERT_TRUE(WaitFor([&] { return vanishing.Output() == "01\n"; }));
    vanishing.Signal(SIGKILL);
    vanishing.Wait();
  }
  EXPECT_EQ(Ask(kDevice), device);

  // A thousand connect-and-close cycles, most of them gone before the server looked.
  for (int i = 0; i < 1000; ++i) RawClient cycle(path);
  EXPECT_EQ(Ask(kDevice), device);

  // A client that sends its request and neither reads the reply nor goes: the reply
  // is written and the connection ended all the same.
  RawClient greedy(path);
  ASSERT_TRUE(greedy.Send(Padded(kDevice)));
  EXPECT_EQ(Ask(kDevice), device);
  EXPECT_EQ(greedy.Receive(), kWelcome);
  EXPECT_EQ(greedy.Receive(), Padded(device, 180));
  EXPECT_EQ(greedy.Receive(), "<closed>");

  // A huge message is no request: no reply, the connection ended.
  RawClient huge(path);
  ASSERT_TRUE(huge.Send(std::string(100000, 'x')));
  EXPECT_EQ(huge.Receive(), kWelcome);
  EXPECT_EQ(huge.Receive(), "<closed>");
  EXPECT_EQ(Ask(kDevice), device);

  // A message pipe has no partial writes: a request dribbled a byte at a time is its
  // first byte, answered as such, and the rest goes nowhere.
  RawClient dribbling(path);
  ASSERT_TRUE(dribbling.Send("r"));
  EXPECT_EQ(dribbling.Receive(), kWelcome);
  EXPECT_EQ(dribbling.Receive(), Padded("Please input correct parameter !", 180));
  dribbling.Send("o");
  EXPECT_EQ(dribbling.Receive(), "<closed>");

  // Silent connections piled up beyond the listen queue and the waiting room.
  std::vector<std::unique_ptr<RawClient>> pile;
  for (int i = 0; i < 100; ++i) pile.push_back(std::make_unique<RawClient>(path, false));
  EXPECT_EQ(Ask(kDevice), device);
  pile.clear();
  EXPECT_EQ(Ask(kDevice), device);

  // Nothing of it all is left in the server, and it still stops at once.
  EXPECT_GT(LowestFreeFdWhenIdle(server.pid()), 0) << "connections left open in the server";
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(std::chrono::seconds(30)), 0);
}

}  // namespace
}  // namespace orv::test
