// The frame server's socket loop and its client, on local stream sockets.
#include "platform/desktop/sim/frame_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
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
#include "platform/desktop/sim/state.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/desktop/sim/watch.h"
#include "platform/gfx/sim/png.h"
#include "platform/home/sim/home.h"

namespace orv::desktop {
namespace {

struct Server {
  std::mutex mutex;
  std::thread thread;
  std::atomic<bool> stop{false};
  int listener = -1;
  int wake[2] = {-1, -1};  // a byte in the pipe ends the loop, which never wakes otherwise
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

bool SendAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Reads until the deadline; false on time-out, error or early end.
bool RecvAll(int fd, char* data, std::size_t size, std::chrono::steady_clock::time_point deadline) {
  while (size > 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) {
      if (errno == EINTR) continue;
      return false;
    }
    ssize_t n = ::recv(fd, data, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool RecvLine(int fd, std::string* line, std::chrono::steady_clock::time_point deadline) {
  line->clear();
  char c;
  while (line->size() < kMaxLine) {
    if (!RecvAll(fd, &c, 1, deadline)) return false;
    if (c == '\n') return true;
    line->push_back(c);
  }
  return false;
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
    else *reply = starts("MOVE ") ? MoveMouse(x, y) : Click(x, y, rest == "right");
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

void Serve(int client) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  std::string request;
  if (!RecvLine(client, &request, deadline)) return;
  if (TakeWatch(client, request)) return;  // answered from a thread of its own
  const std::string reply = ReplyTo(request);
  SendAll(client, reply.data(), reply.size());
}

void Loop(Server* s) {
  while (!s->stop) {
    pollfd p[2] = {{s->listener, POLLIN, 0}, {s->wake[0], POLLIN, 0}};
    if (::poll(p, 2, -1) <= 0 || (p[1].revents & POLLIN)) continue;
    int client = ::accept(s->listener, nullptr, nullptr);
    if (client < 0) continue;
    Serve(client);
    ::close(client);
  }
}

// Stops serving (caller holds s.mutex).
void Stop(Server& s) {
  if (s.listener < 0) return;
  s.stop = true;
  const char byte = 1;
  ssize_t written = ::write(s.wake[1], &byte, 1);  // one byte into an empty pipe always fits
  (void)written;
  if (s.thread.joinable()) s.thread.join();
  ::close(s.wake[0]);
  ::close(s.wake[1]);
  s.wake[0] = s.wake[1] = -1;
  ::close(s.listener);
  s.listener = -1;
  ::unlink(s.path.c_str());
}

// Whether a live process listens on the socket at path.
bool Answers(const sockaddr_un& addr) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool live = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return live;
}

void StopAtExit() { StopFrameServer(); }

}  // namespace

std::string ReplyTo(const std::string& request) {
  std::string input;
  if (InputReply(request, &input)) return input;
  if (request == "WINDOWS") return WindowList();
  if (request == "JOURNAL") {
    std::string reply;
    for (const JournalEntry& e : JournalEntries()) reply += FormatJournalEntry(e) + "\n";
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
  if (s.listener >= 0 && s.path == path) return true;
  Stop(s);  // serving another state folder: this one is the desktop's now
  sockaddr_un addr;
  if (!Address(path, &addr) || Answers(addr)) return false;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  ::unlink(path.c_str());  // a socket left by a process that died
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0) {
    ::close(fd);
    return false;
  }
  if (::pipe2(s.wake, O_CLOEXEC) != 0) {
    ::close(fd);
    return false;
  }
  s.path = path;
  s.listener = fd;
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
  return s.listener >= 0 && s.path == orv::home::Path("desktop.sock");
}

void StopFrameServer() {
  Server& s = TheServer();
  std::lock_guard<std::mutex> lock(s.mutex);
  Stop(s);
}

namespace {

struct Connection {
  int fd = -1;
  ~Connection() {
    if (fd >= 0) ::close(fd);
  }
};

// Connects to the serving process and sends one request line.
gfx::Status Ask(const std::string& line, Connection* c) {
  sockaddr_un addr;
  if (!Address(orv::home::Path("desktop.sock"), &addr)) return gfx::InvalidParameter;
  c->fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (c->fd < 0) return gfx::Win32Error;
  if (::connect(c->fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return gfx::FileNotFound;
  std::string request = line + "\n";
  return SendAll(c->fd, request.data(), request.size()) ? gfx::Ok : gfx::Aborted;
}

}  // namespace

gfx::Status RequestText(const std::string& line, std::string* reply, int timeoutMs) {
  Connection c;
  gfx::Status s = Ask(line, &c);
  if (s != gfx::Ok) return s;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  reply->clear();
  for (;;) {
    char buffer[4096];
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return gfx::Aborted;
    pollfd p{c.fd, POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return gfx::Aborted;
    ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return gfx::Aborted;
    if (n == 0) return gfx::Ok;  // the server closes the connection after its answer
    reply->append(buffer, static_cast<std::size_t>(n));
  }
}

gfx::Status RequestPlayer(const std::string& mode, int timeoutMs) {
  Connection c;
  gfx::Status s = Ask("PLAYER " + mode, &c);
  if (s != gfx::Ok) return s;
  std::string reply;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  if (!RecvLine(c.fd, &reply, deadline)) return gfx::Aborted;
  return reply == "OK" ? gfx::Ok : gfx::InvalidParameter;
}

// Asks for a list answered as one line per item and "END"; each line read by parse.
template <typename Item>
gfx::Status RequestList(const char* command, bool (*parse)(const std::string&, Item*), std::vector<Item>* items,
                        int timeoutMs) {
  Connection c;
  gfx::Status s = Ask(command, &c);
  if (s != gfx::Ok) return s;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  items->clear();
  std::string line;
  while (RecvLine(c.fd, &line, deadline)) {
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
  if (!RecvLine(fd, &header, deadline)) return gfx::Aborted;
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
  gfx::Status s = Ask("FRAME", &c);
  if (s != gfx::Ok) return s;
  // Checked before writing, so a bad answer leaves no file.
  gfx::Surface check;
  s = ReceivePng(c.fd, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs), &check);
  return s == gfx::Ok ? gfx::SavePngFile(outPath, check) : s;
}

gfx::Status RequestJournal(std::vector<JournalEntry>* entries, int timeoutMs) {
  return RequestList("JOURNAL", &ParseJournalEntry, entries, timeoutMs);
}

gfx::Status RequestShownFrames(int timeoutMs) {
  Connection c;
  gfx::Status s = Ask("KEEP SHOWN FRAMES", &c);
  if (s != gfx::Ok) return s;
  std::string reply;
  if (!RecvLine(c.fd, &reply, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)))
    return gfx::Aborted;
  return reply == "OK" ? gfx::Ok : gfx::GenericError;
}

gfx::Status RequestShownFrame(std::uint64_t seq, gfx::Surface* frame, int timeoutMs) {
  Connection c;
  gfx::Status s = Ask("SHOWN " + std::to_string(seq), &c);
  if (s != gfx::Ok) return s;
  return ReceivePng(c.fd, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs), frame);
}

}  // namespace orv::desktop
