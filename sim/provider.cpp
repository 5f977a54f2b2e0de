// The provider's event loop: epoll over the listening socket, the clients and a
// wake descriptor; requests are answered in the order they arrive.
#include "sim/provider.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/base/sim/unique_fd.h"
#include "platform/home/sim/home.h"
#include "platform/wmi/sim/channel.h"
#include "sim/requests.h"

namespace orv::sim {

using namespace orv::wmi;

namespace {

// A client that does not read what it is sent stops being served past this much.
constexpr std::size_t kMaxPending = 8u << 20;

}  // namespace

struct Provider::Connection {
  explicit Connection(orv::sim::unique_fd s) : socket(std::move(s)), fd(socket.get()) {}
  const orv::sim::unique_fd socket;
  const int fd;  // socket's descriptor
  std::string in, out;
  std::vector<EventTarget> subscriptions;
  bool closeAfterFlush = false;
};

Provider::Provider() = default;

Provider::~Provider() {
  connections_.clear();
  if (listenFd_) {
    listenFd_.reset();
    if (SocketStillOurs()) unlink(socketPath_.c_str());
  }
  epollFd_.reset();
  wakeFd_.reset();
  lockFd_.reset();  // last: the next provider starts only once the socket is gone
}

bool Provider::Open(std::string* error) {
  std::string dir = home::Path("wmi");
  home::MakeDirs(dir);
  statePath_ = dir + "/firmware.state";
  socketPath_ = ProviderSocketPath();
  lockFd_.reset(open((dir + "/provider.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lockFd_ || flock(lockFd_.get(), LOCK_EX | LOCK_NB) != 0) {
    *error = "another firmware provider is running in " + dir;
    return false;
  }
  EcState state;
  if (LoadState(statePath_, &state, &notice_) == LoadResult::Damaged) { /* notice_ tells why */ }
  firmware_ = Firmware(state);
  saved_ = state;

  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socketPath_.size() >= sizeof addr.sun_path) {
    *error = "socket path too long: " + socketPath_;
    return false;
  }
  std::memcpy(addr.sun_path, socketPath_.c_str(), socketPath_.size() + 1);
  unlink(socketPath_.c_str());  // left by a provider that died; we hold the lock
  listenFd_.reset(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!listenFd_ || bind(listenFd_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listenFd_.get(), 64) != 0) {
    *error = socketPath_ + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (stat(socketPath_.c_str(), &st) == 0) socketInode_ = st.st_ino;
  epollFd_.reset(epoll_create1(EPOLL_CLOEXEC));
  wakeFd_.reset(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!epollFd_ || !wakeFd_) {
    *error = std::string("epoll: ") + std::strerror(errno);
    return false;
  }
  for (int fd : {listenFd_.get(), wakeFd_.get()}) {
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = fd;
    epoll_ctl(epollFd_.get(), EPOLL_CTL_ADD, fd, &ev);
  }
  return true;
}

bool Provider::SocketStillOurs() const {
  struct stat st {};
  return stat(socketPath_.c_str(), &st) == 0 && st.st_ino == socketInode_;
}

void Provider::Stop() {
  std::uint64_t one = 1;
  if (wakeFd_ && write(wakeFd_.get(), &one, sizeof one) < 0) { /* already woken */ }
}

void Provider::Run() {
  epoll_event events[32];
  while (!stopping_) {
    // The timeout only notices a state folder that was removed under us.
    int n = epoll_wait(epollFd_.get(), events, 32, 1000);
    if (n < 0 && errno != EINTR) break;
    if (n == 0 && !SocketStillOurs()) break;
    for (int i = 0; i < n; ++i) {
      int fd = events[i].data.fd;
      if (fd == wakeFd_.get()) {
        stopping_ = true;
      } else if (fd == listenFd_.get()) {
        Accept();
      } else {
        auto it = connections_.find(fd);
        if (it == connections_.end()) continue;
        Connection& c = *it->second;
        if (events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)) Read(c);
        else if (events[i].events & EPOLLOUT) Flush(c);
      }
    }
  }
  // Answers already queued (the stop command's among them) still go out.
  for (auto& [fd, c] : connections_)
    if (!c->out.empty() && send(fd, c->out.data(), c->out.size(), MSG_NOSIGNAL) < 0) { /* client gone */ }
}

void Provider::Accept() {
  for (;;) {
    orv::sim::unique_fd socket(accept4(listenFd_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!socket) return;
    auto c = std::make_unique<Connection>(std::move(socket));
    const int fd = c->fd;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = fd;
    epoll_ctl(epollFd_.get(), EPOLL_CTL_ADD, fd, &ev);
    connections_[fd] = std::move(c);
  }
}

void Provider::Close(int fd) {
  epoll_ctl(epollFd_.get(), EPOLL_CTL_DEL, fd, nullptr);
  connections_.erase(fd);  // closes it
}

void Provider::Read(Connection& c) {
  char buf[16384];
  for (;;) {
    ssize_t n = recv(c.fd, buf, sizeof buf, 0);
    if (n > 0) { c.in.append(buf, static_cast<std::size_t>(n)); continue; }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    if (n < 0 && errno == EINTR) continue;
    Close(c.fd);  // end of stream or error
    return;
  }
  const int fd = c.fd;
  bool open = true;
  const bool framed = TakeFrames(&c.in, [&](const std::string& body) {
    Handle(c, body);
    open = connections_.count(fd) != 0;  // publishing may close it
    return open;
  });
  if (!open) return;
  if (!framed) {
    Close(fd);
    return;
  }
  Flush(c);
}

void Provider::Flush(Connection& c) {
  while (!c.out.empty()) {
    ssize_t n = send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
    if (n > 0) { c.out.erase(0, static_cast<std::size_t>(n)); continue; }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    Close(c.fd);
    return;
  }
  // A client that sends requests but never reads the answers is dropped like
  // one that does not read its events, before it costs the provider its memory.
  if (c.out.size() > kMaxPending) {
    Close(c.fd);
    return;
  }
  epoll_event ev{};
  ev.events = EPOLLIN | (c.out.empty() ? 0u : static_cast<unsigned>(EPOLLOUT));
  ev.data.fd = c.fd;
  epoll_ctl(epollFd_.get(), EPOLL_CTL_MOD, c.fd, &ev);
}

void Provider::Handle(Connection& c, const std::string& body) {
  Answer answer = HandleRequest(firmware_, catalog_, body, [this](const EcState& state, std::string* reason) {
    return Keep(state, reason);
  });
  if (answer.subscription) c.subscriptions.push_back(*answer.subscription);
  if (answer.stop) stopping_ = true;
  c.out += answer.frame;
  Publish();
}

void Provider::Publish() {
  for (const Event& e : firmware_.TakeEvents()) {
    EventTarget t = catalog_.TargetOf(e);
    wire::Writer w;
    w.U8(static_cast<std::uint8_t>(wire::Op::Event));
    w.Obj(catalog_.EventObject(e));
    std::string frame = w.Frame();
    std::vector<int> ready, overflowing;
    for (auto& [fd, c] : connections_) {
      for (auto& s : c->subscriptions) {
        if (s.ns != t.ns || !wire::SameName(s.cls, t.cls)) continue;
        c->out += frame;
        (c->out.size() > kMaxPending ? overflowing : ready).push_back(fd);
        break;
      }
    }
    // Flushing may close a connection, so it happens after the walk over them.
    for (int fd : overflowing) Close(fd);
    for (int fd : ready)
      if (auto it = connections_.find(fd); it != connections_.end()) Flush(*it->second);
  }
}

bool Provider::Keep(const EcState& state, std::string* reason) {
  if (state == saved_) return true;
  if (!SaveState(statePath_, state, reason)) {
    fprintf(stderr, "orv-firmware: cannot save the state, the change is undone: %s\n", reason->c_str());
    return false;
  }
  saved_ = state;
  return true;
}

bool ProviderThread::Start(std::string* error) {
  provider_ = std::make_unique<Provider>();
  if (!provider_->Open(error)) {
    provider_.reset();
    return false;
  }
  thread_ = std::thread([p = provider_.get()] { p->Run(); });
  return true;
}

void ProviderThread::Stop() {
  if (!provider_) return;
  provider_->Stop();
  if (thread_.joinable()) thread_.join();
  provider_.reset();
}

}  // namespace orv::sim
