// The page's server with the real firmware provider (and, for the frames, a
// program showing a window on the simulated desktop): it serves its own page
// only, on 127.0.0.1 only; bad requests get an error and leave it serving; over
// its WebSocket a page gets the notebook's keys, the firmware state, the log,
// each new frame of the desktop, and the replies to its commands.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/base/sim/unique_fd.h"
#include "platform/gfx/sim/png.h"
#include "sim/web/changes.h"
#include "sim/web/frame_feed.h"
#include "sim/web/server.h"
#include "tests/support/process.h"
#include "tests/web/http_client.h"
#include "tests/web/ws_client.h"

namespace {

using orv::test::Program;
using webtest::OfType;
using webtest::WsClient;
using webtest::WsMessage;

class WebServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::make_unique<orv::test::TempHome>();
    log_ = home_->path() + "/docs/CalvexLogFile.txt";
    std::filesystem::create_directories(home_->path() + "/docs");
    auto r = orv::test::Run({Program("orv-sim"), "start"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    std::string error;
    ASSERT_TRUE(server_.Start(0, orv::web::ServerPaths{log_}, &error)) << error;
    port_ = server_.Port();
    ASSERT_GT(port_, 0);
  }
  void TearDown() override {
    server_.Stop();
    orv::test::Run({Program("orv-sim"), "stop"});
    home_.reset();
  }
  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
  bool PageServed() {
    const std::string r = webtest::Get(port_, "/");
    return webtest::StatusOf(r) == 200 && r.find("<title>Orv notebook</title>") != std::string::npos;
  }
  // The reply to a command sent now.
  WsMessage Reply(WsClient& client, const std::string& command) {
    WsMessage m;
    EXPECT_TRUE(client.SendText(command)) << command;
    EXPECT_TRUE(client.Next([](const WsMessage& x) { return OfType(x, "reply"); }, &m)) << "no reply to " << command;
    return m;
  }

  std::unique_ptr<orv::test::TempHome> home_;
  std::string log_;
  orv::web::WebServer server_;
  int port_ = 0;
};

// An IPv4 address of this machine other than loopback, or "" when it has none.
std::string OtherAddress() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return "";
  std::string found;
  for (ifaddrs* a = list; a && found.empty(); a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if ((ntohl(in->sin_addr.s_addr) >> 24) == 127) continue;
    char text[INET_ADDRSTRLEN];
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) found = text;
  }
  freeifaddrs(list);
  return found;
}

bool Connects(const std::string& address, int port) {
  orv::sim::unique_fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
  return fd && ::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
}

}  // namespace

TEST_F(WebServerTest, ServesItsPageFilesOnlyAndAnswersBadRequestsWithAnErrorWhileServingOn) {
  const std::string page = webtest::Get(port_, "/");
  ASSERT_EQ(webtest::StatusOf(page), 200) << page;
  EXPECT_NE(page.find("Content-Type: text/html; charset=utf-8"), std::string::npos);
  EXPECT_NE(page.find("Content-Security-Policy: default-src 'self'"), std::string::npos);
  const std::string script = webtest::Get(port_, "/app.js");
  EXPECT_EQ(webtest::StatusOf(script), 200);
  EXPECT_NE(script.find("Content-Type: text/javascript"), std::string::npos);
  EXPECT_NE(script.find("new WebSocket"), std::string::npos);
  EXPECT_EQ(webtest::StatusOf(webtest::Get(port_, "/style.css")), 200);
  EXPECT_EQ(webtest::StatusOf(webtest::Exchange(port_, "HEAD / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")), 200);

  const std::string host = "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n";
  struct Bad {
    const char* what;
    std::string request;
  };
  // The opening of a TLS handshake, NULs included.
  static const char kNotHttp[] = "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03 garbage\r\n\r\n";
  const Bad bad[] = {
      {"a file of the machine", "GET /etc/passwd HTTP/1.1\r\n" + host + "\r\n"},
      {"a way up", "GET /../../../../etc/passwd HTTP/1.1\r\n" + host + "\r\n"},
      {"a way up, encoded", "GET /%2e%2e/%2e%2e/%2e%2e/etc/passwd HTTP/1.1\r\n" + host + "\r\n"},
      {"a doubled slash", "GET //etc/passwd HTTP/1.1\r\n" + host + "\r\n"},
      {"the page's file by its name", "GET /index.html HTTP/1.1\r\n" + host + "\r\n"},
      {"the build's folder", "GET /sim/web/page/app.js HTTP/1.1\r\n" + host + "\r\n"},
      {"a post", "POST / HTTP/1.1\r\n" + host + "Content-Length: 3\r\n\r\nabc"},
      {"a delete", "DELETE /app.js HTTP/1.1\r\n" + host + "\r\n"},
      {"another site's name", "GET / HTTP/1.1\r\nHost: attacker.example:" + std::to_string(port_) + "\r\n\r\n"},
      {"no host at all", "GET / HTTP/1.0\r\n\r\n"},
      {"another site's page", "GET / HTTP/1.1\r\n" + host + "Origin: http://attacker.example\r\n\r\n"},
      {"the socket as a page", "GET /ws HTTP/1.1\r\n" + host + "\r\n"},
      {"a header too long", "GET / HTTP/1.1\r\n" + host + "X-Long: " + std::string(20000, 'a') + "\r\n\r\n"},
      {"no HTTP at all", std::string(kNotHttp, sizeof kNotHttp - 1)},
      {"a broken request line", "GET\r\n\r\n"},
      {"a bad version", "GET / HTTP/7.5\r\n" + host + "\r\n"},
  };
  for (const Bad& b : bad) {
    const std::string r = webtest::Exchange(port_, b.request);
    const int status = webtest::StatusOf(r);
    EXPECT_TRUE(status >= 400 || (status == 0 && r.find("HTTP/") == std::string::npos)) << b.what << ":\n" << r;
    EXPECT_EQ(r.find("root:"), std::string::npos) << b.what;
    EXPECT_EQ(r.find("<title>"), std::string::npos) << b.what;
    ASSERT_TRUE(PageServed()) << "the server stopped serving after " << b.what;
  }
  // A client that sends half a request and goes: the server serves the next.
  {
    orv::sim::unique_fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port_));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_GT(::send(fd.get(), "GET / HT", 8, MSG_NOSIGNAL), 0);
  }
  EXPECT_TRUE(PageServed());
}

TEST_F(WebServerTest, ListensOnLoopbackOnlyAndRefusesPortsItCannotTake) {
  EXPECT_TRUE(Connects("127.0.0.1", port_));
  const std::string other = OtherAddress();
  if (!other.empty()) {
    EXPECT_FALSE(Connects(other, port_)) << "reachable at " << other;
  }
  orv::web::WebServer second;
  std::string error;
  EXPECT_FALSE(second.Start(port_, orv::web::ServerPaths{log_}, &error)) << "the port is taken";
  EXPECT_NE(error.find("127.0.0.1:" + std::to_string(port_)), std::string::npos) << error;
  EXPECT_FALSE(second.Start(70000, orv::web::ServerPaths{log_}, &error));
  EXPECT_TRUE(PageServed());
}

TEST_F(WebServerTest, APageGetsTheKeysTheStateAndTheLogAndItsCommandsAreRunOrRefused) {
  WsClient foreign(port_, "http://attacker.example");
  EXPECT_FALSE(foreign.connected()) << "a page of another site was let in";
  ASSERT_TRUE(PageServed());

  WsClient page(port_, Origin());
  ASSERT_TRUE(page.connected()) << page.error();
  WsMessage m;
  ASSERT_TRUE(page.Next([](const WsMessage& x) { return OfType(x, "hello"); }, &m));
  EXPECT_NE(m.data.find("\"wireless\""), std::string::npos) << m.data;
  EXPECT_NE(m.data.find("\"volume-up\""), std::string::npos) << m.data;
  ASSERT_TRUE(page.Next([](const WsMessage& x) { return OfType(x, "status"); }, &m));
  EXPECT_NE(m.data.find("wireless on"), std::string::npos) << m.data;
  ASSERT_TRUE(page.Next([](const WsMessage& x) { return OfType(x, "log"); }, &m));

  m = Reply(page, "sim press wireless");
  EXPECT_NE(m.data.find("\"ok\":true"), std::string::npos) << m.data;
  EXPECT_NE(m.data.find("pressed wireless"), std::string::npos) << m.data;
  ASSERT_TRUE(page.Next([](const WsMessage& x) { return OfType(x, "status") && x.data.find("wireless off") != std::string::npos; }, &m))
      << "the new state never came";

  m = Reply(page, "sim set bios FAKE");
  EXPECT_NE(m.data.find("\"ok\":false"), std::string::npos) << m.data;
  EXPECT_NE(m.data.find("not a control of the page"), std::string::npos) << m.data;
  m = Reply(page, "cat /etc/passwd");
  EXPECT_NE(m.data.find("unknown command"), std::string::npos) << m.data;
  EXPECT_TRUE(page.SendBinary("sim press wireless"));
  ASSERT_TRUE(page.Next([](const WsMessage& x) { return OfType(x, "reply"); }, &m));
  EXPECT_NE(m.data.find("one command per text message"), std::string::npos) << m.data;
  m = Reply(page, "click 10 10 left");
  EXPECT_NE(m.data.find("\"ok\":false"), std::string::npos) << m.data;
  EXPECT_NE(m.data.find("no desktop is running"), std::string::npos) << m.data;
  EXPECT_EQ(orv::test::Run({Program("orv-sim"), "status"}).out.find("wireless on"), std::string::npos)
      << "a refused command changed the notebook";

  // The log's new lines and a new frame reach every page.
  WsClient second(port_, "");
  ASSERT_TRUE(second.connected()) << second.error();
  {
    std::ofstream(log_, std::ios::app) << "<<2026/01/01 00:00:00>>  a line of the tray \r\n";
  }
  server_.PushLog();
  for (WsClient* client : {&page, &second})
    EXPECT_TRUE(client->Next([](const WsMessage& x) { return OfType(x, "log") && x.data.find("a line of the tray \\n") != std::string::npos; }, &m));
  server_.PushFrame("not really a picture");
  for (WsClient* client : {&page, &second}) {
    ASSERT_TRUE(client->Next([](const WsMessage& x) { return x.binary; }, &m));
    EXPECT_EQ(m.data, "not really a picture");
  }
  // A page that opens later gets the latest frame at once.
  WsClient third(port_, Origin());
  ASSERT_TRUE(third.connected()) << third.error();
  ASSERT_TRUE(third.Next([](const WsMessage& x) { return x.binary; }, &m));
  EXPECT_EQ(m.data, "not really a picture");
}

TEST_F(WebServerTest, EachNewFrameOfTheDesktopIsPushedAndTheDesktopTakesThePagesInput) {
  orv::web::FrameFeed feed([&](const std::string& png) { server_.PushFrame(png); });
  orv::web::ChangeWatch changes;
  std::string error;
  ASSERT_TRUE(changes.Start({home_->path() + "/desktop.sock", home_->path() + "/wmi/firmware.state", log_},
                            {[&] { feed.Wake(); }, [&] { server_.PushStatus(); }, [&] { server_.PushLog(); }}, &error))
      << error;
  WsClient page(port_, Origin());
  ASSERT_TRUE(page.connected()) << page.error();

  // A desktop comes up: its first frame comes without being asked for.
  orv::test::Child holder({Program("desktop-holder")});
  WsMessage m;
  ASSERT_TRUE(page.Next([](const WsMessage& x) { return x.binary; }, &m, std::chrono::seconds(60)))
      << "no frame came; the holder said: " << holder.Output();
  orv::gfx::Surface frame;
  ASSERT_EQ(orv::gfx::DecodePng(m.data.data(), m.data.size(), &frame), orv::gfx::Ok);
  ASSERT_TRUE(frame.Contains(120, 120));
  EXPECT_NE(frame.At(120, 120), frame.At(300, 300)) << "the holder's window is in the frame";

  m = Reply(page, "click 120 120 left");
  EXPECT_NE(m.data.find("\"ok\":true"), std::string::npos) << m.data;
  m = Reply(page, "key esc");
  EXPECT_NE(m.data.find("\"ok\":true"), std::string::npos) << m.data;

  // The firmware's change is pushed by the watch of its state, not by the command.
  ASSERT_EQ(orv::test::Run({Program("orv-sim"), "press", "bluetooth"}).exitCode, 0);
  EXPECT_TRUE(page.Next([](const WsMessage& x) { return OfType(x, "status") && x.data.find("bluetooth off") != std::string::npos; }, &m));
  // And the tray's log by the watch of its folder.
  {
    std::ofstream(log_, std::ios::app) << "<<2026/01/01 00:00:01>>  written by the tray \r\n";
  }
  EXPECT_TRUE(page.Next([](const WsMessage& x) { return OfType(x, "log") && x.data.find("written by the tray") != std::string::npos; }, &m));

  holder.Signal(SIGTERM);
  EXPECT_EQ(holder.Wait(), 0);
  changes.Stop();
}
