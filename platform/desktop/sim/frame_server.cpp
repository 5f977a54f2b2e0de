// The frame server's socket loop and its client, on local stream sockets.
#include "platform/desktop/sim/frame_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/desktop/sim/compositor.h"
#include "platform/desktop/sim/foreground.h"
#include "platform/desktop/sim/input.h"
#include "platform/desktop/sim/journal.h"
#include "platform/desktop/sim/power_setting.h"
#include "platform/desktop/sim/programs.h"
#include "platform/desktop/sim/state.h"
#include "platform/desktop/sim/stream_io.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/base/sim/unique_fd.h"
#include "platform/desktop/sim/watch.h"
#include "platform/gfx/sim/png.h"
#include "platform/home/sim/home.h"

namespace orv::desktop {
namespace {

using orv::sim::unique_fd;

// How long one client may take to send its request line and to take its reply:
// the loop serves one client at a time, so one that stalls holds back the rest.
constexpr auto kRequestDeadline = std::chrono::seconds(2);
constexpr auto kReplyDeadline = std::chrono::seconds(30);

struct Server {
  std::mutex mutex;
  std::thread thread;
  std::atomic<bool> stop{false};
  unique_fd listener;
  // A byte in the pipe ends the loop and the exchange under way, which never wake otherwise.
  unique_fd wakeRead, wakeWrite;
  std::string path;
};

Server& TheServer() {
  static Server* server = new Server;
  return *server;
}

bool Address(const std::string& path, sockaddr_un* addr) {
  std::memset(addr, 0, sizeof *addr);
  addr->sun_family = AF_UNIX;
  if (path.size() >= sizeof addr->sun_path) return false;
  std::memcpy(addr->sun_path, path.c_str(), path.size());
  return true;
}

// One line per top-level window, bottom of the z-order first, then "END".
std::string WindowList() {
  std::ostringstream out;
  std::lock_guard<std::recursive_mutex> lock(detail::Lock());
  for (auto& [hwnd, record] : detail::Ordered()) {
    RECT r{0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    out << reinterpret_cast<std::uintptr_t>(hwnd) << ' ' << (IsWindowVisible(hwnd) ? 1 : 0) << ' ' << r.left
        << ' ' << r.top << ' ' << r.right - r.left << ' ' << r.bottom - r.top << ' ' << record->generation << ' '
        << record->changedUs << ' ' << (record->className.empty() ? "-" : record->className) << '\n';
  }
  out << "END\n";
  return out.str();
}

// "PNG <bytes>" and the picture, or "ERR cannot encode".
std::string PngReply(const gfx::Surface& frame) {
  std::vector<std::uint8_t> png;
  if (gfx::EncodePng(frame, &png) != gfx::Ok) return "ERR cannot encode\n";
  return "PNG " + std::to_string(png.size()) + "\n" + std::string(png.begin(), png.end());
}

// What the text after a request's name says: a number, then the rest.
bool Split(const std::string& args, int* number, std::string* rest) {
  char* end = nullptr;
  long n = std::strtol(args.c_str(), &end, 10);
  if (end == args.c_str()) return false;
  *number = static_cast<int>(n);
  *rest = *end == ' ' ? std::string(end + 1) : std::string(end);
  return true;
}

// The reply to an input or automation request; false for another request.
bool InputReply(const std::string& request, std::string* reply) {
  auto starts = [&](const char* name) { return request.rfind(name, 0) == 0; };
  std::string rest;
  int x = 0, y = 0;
  if (starts("MOVE ") || starts("CLICK ")) {
    std::string args = request.substr(request.find(' ') + 1), more;
    if (!Split(args, &x, &more) || !Split(more, &y, &rest)) *reply = "ERR bad point\n";
    else if (starts("MOVE ")) *reply = MoveMouse(x, y);
    else *reply = MouseButtons(x, y, rest == "right", rest != "up", rest != "down");
    return true;
  }
  if (starts("KEY ")) return *reply = PressKeys(request.substr(4)), true;
  if (starts("TYPE ")) return *reply = TypeText(request.substr(5)), true;
  if (starts("TRAY PLACE ")) {
    if (!Split(request.substr(11), &x, &rest) || !rest.empty()) return *reply = "ERR tray place takes an id\n", true;
    return *reply = TrayIconPlace(static_cast<unsigned>(x)), true;
  }
  if (starts("TRAY ")) {
    if (!Split(request.substr(5), &x, &rest) || (rest != "left" && rest != "right"))
      return *reply = "ERR tray takes an id and left or right\n", true;
    return *reply = ClickTrayIcon(static_cast<unsigned>(x), rest == "right"), true;
  }
  if (starts("PRESS ")) {
    if (!Split(request.substr(6), &x, &rest)) return *reply = "ERR press takes an id and a title\n", true;
    return *reply = PressControl(rest, x), true;
  }
  if (starts("COMMAND ")) {
    if (!Split(request.substr(8), &x, &rest)) return *reply = "ERR command takes an id and a title\n", true;
    return *reply = PostCommand(rest, x), true;
  }
  if (starts("POST ")) {
    // POST message wParam lParam title
    std::string more, last;
    int w = 0, l = 0;
    if (!Split(request.substr(5), &x, &more) || !Split(more, &w, &last) || !Split(last, &l, &rest) || rest.empty())
      return *reply = "ERR post takes a message, wParam, lParam and a title\n", true;
    return *reply = PostToWindow(rest, static_cast<UINT>(x), static_cast<WPARAM>(w), static_cast<LPARAM>(l)), true;
  }
  if (request == "TOPLEVEL") return *reply = ListWindows(), true;
  if (starts("CONTROLS ")) return *reply = ListControls(request.substr(9)), true;
  if (request == "MENU") return *reply = ListMenu(), true;
  if (request == "MENU PLACES") return *reply = ListMenuPlaces(), true;
  if (starts("CHOOSE ")) return *reply = ChooseMenuItem(request.substr(7)), true;
  if (request == "RESTART TASKBAR") {
    RestartTaskbar();
    return *reply = "OK\n", true;
  }
  return false;
}

void Serve(int client, int wake) {
  std::string request;
  if (!RecvLine(client, &request, kMaxLine, std::chrono::steady_clock::now() + kRequestDeadline, wake)) return;
  if (TakeWatch(client, request)) return;  // answered from a thread of its own
  const std::string reply = ReplyTo(request);
  SendAll(client, reply.data(), reply.size(), std::chrono::steady_clock::now() + kReplyDeadline, wake);
}

void Loop(Server* s) {
  while (!s->stop) {
    pollfd p[2] = {{s->listener.get(), POLLIN, 0}, {s->wakeRead.get(), POLLIN, 0}};
    if (::poll(p, 2, -1) <= 0 || (p[1].revents & POLLIN)) continue;
    unique_fd client(::accept4(s->listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (client) Serve(client.get(), s->wakeRead.get());
  }
}

// Stops serving (caller holds s.mutex).
void Stop(Server& s) {
  if (!s.listener) return;
  s.stop = true;
  const char byte = 1;
  ssize_t written = ::write(s.wakeWrite.get(), &byte, 1);  // one byte into an empty pipe always fits
  (void)written;
  if (s.thread.joinable()) s.thread.join();
  s.wakeRead.reset();
  s.wakeWrite.reset();
  s.listener.reset();
  ::unlink(s.path.c_str());
}

// Whether a live process listens on the socket at path.
bool Answers(const sockaddr_un& addr) {
  unique_fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  return fd && ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
}

void StopAtExit() { StopFrameServer(); }

}  // namespace

std::string ReplyTo(const std::string& request) {
  std::string input;
  if (InputReply(request, &input) || ProgramReply(request, &input) || PowerSettingReply(request, &input)) return input;
  if (request == "WINDOWS") return WindowList();
  if (request == "JOURNAL") {
    std::string reply;
    for (const JournalEntry& e : JournalEntries()) reply += FormatJournalEntry(e) + "\n";
    return reply + "END\n";
  }
  if (request == "TEXTS") {
    std::string reply;
    for (const TextEntry& e : TextEntries()) reply += FormatTextEntry(e) + "\n";
    return reply + "END\n";
  }
  if (request == "KEEP SHOWN FRAMES") {
    KeepShownFrames();
    return "OK\n";
  }
  if (request.rfind("SHOWN ", 0) == 0) {
    gfx::Surface frame;
    if (!ShownFrame(std::strtoull(request.c_str() + 6, nullptr, 10), &frame)) return "ERR no frame kept\n";
    return PngReply(frame);
  }
  if (request.rfind("PLAYER ", 0) == 0) {
    std::string mode = request.substr(7);
    bool known = mode == "fullscreen" || mode == "maximized" || mode == "off";
    if (known)
      SetPlayer(mode == "fullscreen" ? PlayerMode::FullScreen
                                     : mode == "maximized" ? PlayerMode::Maximized : PlayerMode::Off);
    return known ? "OK\n" : "ERR unknown player mode\n";
  }
  if (request != "FRAME") return "ERR unknown request\n";
  gfx::Surface frame;
  ComposeFrame(&frame);
  return PngReply(frame);
}

bool ParseWindowLine(const std::string& line, DesktopWindow* w) {
  std::istringstream in(line);
  int visible = 0;
  if (!(in >> w->id >> visible >> w->rect.left >> w->rect.top >> w->rect.right >> w->rect.bottom >> w->generation >>
        w->changedUs >> w->className))
    return false;
  w->visible = visible != 0;
  w->rect.right += w->rect.left;
  w->rect.bottom += w->rect.top;
  return true;
}

bool StartFrameServer() {
  Server& s = TheServer();
  std::lock_guard<std::mutex> lock(s.mutex);
  const std::string path = orv::home::Path("desktop.sock");
  if (s.listener && s.path == path) return true;
  Stop(s);  // serving another state folder: this one is the desktop's now
  sockaddr_un addr;
  if (!Address(path, &addr) || Answers(addr)) return false;
  unique_fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd) return false;
  ::unlink(path.c_str());  // a socket left by a process that died
  // The socket drives the desktop (keys, clicks): for this account alone, whatever the umask.
  if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::chmod(path.c_str(), 0600) != 0 ||
      ::listen(fd.get(), 4) != 0)
    return false;
  int wake[2];
  if (::pipe2(wake, O_CLOEXEC) != 0) return false;
  s.wakeRead.reset(wake[0]);
  s.wakeWrite.reset(wake[1]);
  s.path = path;
  s.listener = std::move(fd);
  s.stop = false;
  StartJournal();
  s.thread = std::thread(Loop, &s);
  static const bool kStopsAtExit = (std::atexit(StopAtExit), true);
  (void)kStopsAtExit;
  return true;
}

bool ServingHere() {
  Server& s = TheServer();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.listener && s.path == orv::home::Path("desktop.sock");
}

void StopFrameServer() {
  Server& s = TheServer();
  std::lock_guard<std::mutex> lock(s.mutex);
  Stop(s);
}

namespace {

using Connection = unique_fd;

// Connects to the serving process and sends one request line.
gfx::Status Ask(const std::string& line, Connection* c, int timeoutMs) {
  sockaddr_un addr;
  if (!Address(orv::home::Path("desktop.sock"), &addr)) return gfx::InvalidParameter;
  c->reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!*c) return gfx::Win32Error;
  if (::connect(c->get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return gfx::FileNotFound;
  std::string request = line + "\n";
  return SendAll(c->get(), request.data(), request.size(),
                 std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs))
             ? gfx::Ok
             : gfx::Aborted;
}

}  // namespace

gfx::Status RequestText(const std::string& line, std::string* reply, int timeoutMs) {
  Connection c;
  gfx::Status s = Ask(line, &c, timeoutMs);
  if (s != gfx::Ok) return s;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  reply->clear();
  for (;;) {
    char buffer[4096];
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return gfx::Aborted;
    pollfd p{c.get(), POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return gfx::Aborted;
    ssize_t n = ::recv(c.get(), buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return gfx::Aborted;
    if (n == 0) return gfx::Ok;  // the server closes the connection after its answer
    reply->append(buffer, static_cast<std::size_t>(n));
  }
}

gfx::Status RequestPlayer(const std::string& mode, int timeoutMs) {
  Connection c;
  gfx::Status s = Ask("PLAYER " + mode, &c, timeoutMs);
  if (s != gfx::Ok) return s;
  std::string reply;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  if (!RecvLine(c.get(), &reply, kMaxLine, deadline)) return gfx::Aborted;
  return reply == "OK" ? gfx::Ok : gfx::InvalidParameter;
}

// Asks for a list answered as one line per item and "END"; each line read by parse.
template <typename Item>
gfx::Status RequestList(const char* command, bool (*parse)(const std::string&, Item*), std::vector<Item>* items,
                        int timeoutMs) {
  Connection c;
  gfx::Status s = Ask(command, &c, timeoutMs);
  if (s != gfx::Ok) return s;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  items->clear();
  std::string line;
  while (RecvLine(c.get(), &line, kMaxLine, deadline)) {
    if (line == "END") return gfx::Ok;
    Item item;
    if (!parse(line, &item)) return gfx::GenericError;
    items->push_back(item);
  }
  return gfx::Aborted;
}

gfx::Status RequestWindows(std::vector<DesktopWindow>* windows, int timeoutMs) {
  return RequestList("WINDOWS", &ParseWindowLine, windows, timeoutMs);
}

// Reads a "PNG <bytes>" answer and checks the picture.
gfx::Status ReceivePng(int fd, std::chrono::steady_clock::time_point deadline, gfx::Surface* picture) {
  std::string header;
  if (!RecvLine(fd, &header, kMaxLine, deadline)) return gfx::Aborted;
  unsigned long long size = 0;
  if (header.rfind("PNG ", 0) != 0 || (size = std::strtoull(header.c_str() + 4, nullptr, 10)) == 0 ||
      size > 512ull * 1024 * 1024)
    return gfx::GenericError;
  std::vector<char> png(static_cast<std::size_t>(size));
  if (!RecvAll(fd, png.data(), png.size(), deadline)) return gfx::Aborted;
  return gfx::DecodePng(png.data(), png.size(), picture) == gfx::Ok ? gfx::Ok : gfx::UnknownImageFormat;
}

gfx::Status RequestScreenshot(const std::string& outPath, int timeoutMs) {
  Connection c;
  gfx::Status s = Ask("FRAME", &c, timeoutMs);
  if (s != gfx::Ok) return s;
  // Checked before writing, so a bad answer leaves no file.
  gfx::Surface check;
  s = ReceivePng(c.get(), std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs), &check);
  return s == gfx::Ok ? gfx::SavePngFile(outPath, check) : s;
}

gfx::Status RequestJournal(std::vector<JournalEntry>* entries, int timeoutMs) {
  return RequestList("JOURNAL", &ParseJournalEntry, entries, timeoutMs);
}

gfx::Status RequestTexts(std::vector<TextEntry>* entries, int timeoutMs) {
  return RequestList("TEXTS", &ParseTextEntry, entries, timeoutMs);
}

gfx::Status RequestShownFrames(int timeoutMs) {
  Connection c;
  gfx::Status s = Ask("KEEP SHOWN FRAMES", &c, timeoutMs);
  if (s != gfx::Ok) return s;
  std::string reply;
  if (!RecvLine(c.get(), &reply, kMaxLine, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)))
    return gfx::Aborted;
  return reply == "OK" ? gfx::Ok : gfx::GenericError;
}

gfx::Status RequestShownFrame(std::uint64_t seq, gfx::Surface* frame, int timeoutMs) {
  Connection c;
  gfx::Status s = Ask("SHOWN " + std::to_string(seq), &c, timeoutMs);
  if (s != gfx::Ok) return s;
  return ReceivePng(c.get(), std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs), frame);
}

}  // namespace orv::desktop
