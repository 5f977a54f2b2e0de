// The server end of a named pipe: a listening SOCK_SEQPACKET socket that takes
// one connection at a time from its waiting room, and an I/O thread that
// finishes overlapped operations which could not finish at once and meanwhile
// lets newly connected callers into the waiting room.
#include <windows.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/sim/errno_map.h"
#include "platform/base/sim/unique_fd.h"
#include "platform/fs/sim/io_object.h"
#include "platform/pipe/sim/names.h"
#include "platform/pipe/sim/waiting_room.h"
#include "platform/pipe/sim/wire.h"
#include "platform/security/sim/access.h"
#include "platform/security/sim/principals.h"

namespace orv::pipe {
namespace {

using orv::sim::unique_fd;
using orv::win::Win32FromErrno;

constexpr DWORD kWouldBlock = 0xFFFFFFFF;
// Callers that may wait for the instance beside the listen queue's own.
constexpr std::size_t kWaitingRoomSize = 32;

enum class Op { None, Connect, Read, Write };

// Writes the default time-out where clients of any account read it, replacing the
// file whole so that no client reads half a number; false with errno set.
bool PublishTimeout(const std::string& path, DWORD timeout) {
  const std::string text = std::to_string(timeout) + "\n";
  const std::string temp = path + ".new";  // keys hold no ".", so no pipe has this name
  unlink(temp.c_str());
  unique_fd fd(open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644));
  if (!fd || fchmod(fd.get(), 0644) != 0 ||
      write(fd.get(), text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    return false;
  }
  return rename(temp.c_str(), path.c_str()) == 0;
}

class PipeObject : public orv::win::IoObject {
 public:
  PipeObject() = default;
  ~PipeObject() override;
  DWORD Create(const PipePaths& paths, orv::security::AccessRules rules, DWORD timeout, bool firstInstance);

  BOOL Connect(LPOVERLAPPED ov);
  BOOL Read(LPVOID buffer, DWORD size, LPDWORD n, LPOVERLAPPED ov) override {
    return Start(Op::Read, ov, buffer, size, n);
  }
  BOOL Write(LPCVOID buffer, DWORD size, LPDWORD n, LPOVERLAPPED ov) override {
    return Start(Op::Write, ov, const_cast<LPVOID>(buffer), size, n);
  }
  BOOL Disconnect();
  BOOL Result(LPOVERLAPPED ov, LPDWORD n, BOOL wait) override;
  BOOL Cancel() override;

 private:
  BOOL Start(Op op, LPOVERLAPPED ov, LPVOID buffer, DWORD size, LPDWORD n, bool* immediate = nullptr);
  DWORD Attempt(DWORD* n);
  DWORD TryConnect();
  DWORD TryRead(DWORD* n);
  DWORD TryWrite(DWORD* n);
  void WorkerLoop();
  bool Admitted(int fd) const;
  // Lets newly connected callers in; false (errno set) when an accept failed.
  bool GatherLocked();
  void Complete(DWORD err, DWORD n);
  void CancelLocked(std::unique_lock<std::mutex>& lock);

  std::mutex m_;
  std::condition_variable cv_;
  unique_fd listenFd_, connFd_, lockFd_, wakeFd_;
  std::string socketPath_;
  orv::security::AccessRules rules_;  // who may connect
  std::vector<char> remainder_;  // the unread rest of a message longer than the last read
  std::unique_ptr<WaitingRoom> room_;
  bool gatherFailed_ = false;  // the last accept failed (no descriptors, say): retried by the next connect
  // The outstanding operation.
  Op op_ = Op::None;
  LPOVERLAPPED ov_ = nullptr;
  char* buf_ = nullptr;
  DWORD size_ = 0;
  bool inWorker_ = false;
  bool cancel_ = false;
  bool quit_ = false;
  std::thread worker_;
};

PipeObject::~PipeObject() {
  {
    std::unique_lock<std::mutex> lock(m_);
    CancelLocked(lock);
    quit_ = true;
  }
  cv_.notify_all();
  if (worker_.joinable()) worker_.join();
  connFd_.reset();
  if (listenFd_) {
    listenFd_.reset();
    unlink(socketPath_.c_str());
  }
  wakeFd_.reset();
  lockFd_.reset();  // releases the instance lock last
}

DWORD PipeObject::Create(const PipePaths& paths, orv::security::AccessRules rules, DWORD timeout,
                         bool firstInstance) {
  rules_ = std::move(rules);
  if (!PrepareFolder(paths.folder)) return GetLastError();
  sockaddr_un addr{};
  // The socket is first bound under its name and ".new" (below).
  if (paths.socket.size() + 4 >= sizeof addr.sun_path) return ERROR_INVALID_NAME;
  lockFd_.reset(open(paths.lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  // A lock file left by an older server may be open to others: narrowed first.
  if (!lockFd_ || fchmod(lockFd_.get(), 0600) != 0) return Win32FromErrno(errno);
  // A live server holds the lock; one that was killed left only its socket file.
  if (flock(lockFd_.get(), LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? (firstInstance ? ERROR_ACCESS_DENIED : ERROR_PIPE_BUSY) : Win32FromErrno(errno);
  }
  if (!timeout) timeout = kDefaultPipeTimeout;
  room_ = std::make_unique<WaitingRoom>(kWaitingRoomSize, std::chrono::milliseconds(timeout));
  if (!PublishTimeout(paths.wait, timeout)) return Win32FromErrno(errno);
  // Bound under a passing name and put in place only once it listens, so a client
  // never finds a socket that refuses it while the server is still starting.
  const std::string binding = paths.socket + ".new";  // keys hold no ".", so no pipe has this name
  unlink(binding.c_str());
  listenFd_.reset(socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!listenFd_) return Win32FromErrno(errno);
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, binding.c_str(), binding.size() + 1);
  if (bind(listenFd_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    DWORD err = Win32FromErrno(errno);
    listenFd_.reset();
    return err;
  }
  socketPath_ = binding;
  // The file's mode agrees with the descriptor: others may open it only when
  // ordinary local users are granted read and write.
  bool others = orv::security::AccessGranted(rules_, orv::security::kPrincipalAuthenticated,
                                             GENERIC_READ | GENERIC_WRITE);
  if (chmod(binding.c_str(), others ? 0666 : 0600) != 0 || listen(listenFd_.get(), kBacklog) != 0 ||
      rename(binding.c_str(), paths.socket.c_str()) != 0) {
    return Win32FromErrno(errno);
  }
  socketPath_ = paths.socket;
  wakeFd_.reset(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wakeFd_) return Win32FromErrno(errno);
  worker_ = std::thread([this] { WorkerLoop(); });
  return ERROR_SUCCESS;
}

DWORD PipeObject::Attempt(DWORD* n) {
  *n = 0;
  switch (op_) {
    case Op::Connect: return TryConnect();
    case Op::Read: return TryRead(n);
    case Op::Write: return TryWrite(n);
    case Op::None: break;
  }
  return ERROR_INVALID_PARAMETER;
}

bool PipeObject::Admitted(int fd) const {
  return orv::security::AccessGranted(rules_, orv::security::PrincipalsOfPeer(fd), GENERIC_READ | GENERIC_WRITE);
}

bool PipeObject::GatherLocked() {
  int err = room_->Gather(listenFd_.get(), [this](int fd) { return Admitted(fd); }, kRefused);
  gatherFailed_ = err != 0;
  errno = err;
  return !gatherFailed_;
}

DWORD PipeObject::TryConnect() {
  // The peer was judged in the waiting room, before anything of it was read.
  const bool gathered = GatherLocked();
  const int gatherErrno = errno;
  for (;;) {
    unique_fd fd(room_->Next());
    if (!fd) return gathered ? kWouldBlock : Win32FromErrno(gatherErrno);
    std::uint8_t answer = kWelcome;
    if (send(fd.get(), &answer, 1, MSG_NOSIGNAL | MSG_DONTWAIT) != 1) continue;  // a client that gave up waiting
    connFd_ = std::move(fd);
    remainder_.clear();
    return ERROR_SUCCESS;
  }
}

DWORD PipeObject::TryRead(DWORD* n) {
  if (!connFd_) return ERROR_PIPE_LISTENING;
  if (!remainder_.empty()) {
    std::size_t take = std::min<std::size_t>(size_, remainder_.size());
    std::memcpy(buf_, remainder_.data(), take);
    remainder_.erase(remainder_.begin(), remainder_.begin() + static_cast<std::ptrdiff_t>(take));
    *n = static_cast<DWORD>(take);
    return remainder_.empty() ? ERROR_SUCCESS : ERROR_MORE_DATA;
  }
  char probe = 0;
  ssize_t len = recv(connFd_.get(), &probe, 1, MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT);
  if (len < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK) return kWouldBlock;
    return errno == EINTR ? kWouldBlock : ERROR_BROKEN_PIPE;
  }
  if (len == 0) {
    pollfd p{connFd_.get(), POLLIN | POLLRDHUP, 0};
    if (poll(&p, 1, 0) >= 0 && (p.revents & (POLLHUP | POLLRDHUP))) return ERROR_BROKEN_PIPE;
    [[maybe_unused]] ssize_t r = recv(connFd_.get(), &probe, 0, MSG_DONTWAIT);  // an empty message
    return ERROR_SUCCESS;
  }
  if (static_cast<std::size_t>(len) <= size_) {
    ssize_t r = recv(connFd_.get(), buf_, size_, MSG_DONTWAIT);
    if (r < 0) return ERROR_BROKEN_PIPE;
    *n = static_cast<DWORD>(r);
    return ERROR_SUCCESS;
  }
  std::vector<char> whole(static_cast<std::size_t>(len));
  ssize_t r = recv(connFd_.get(), whole.data(), whole.size(), MSG_DONTWAIT);
  if (r < 0) return ERROR_BROKEN_PIPE;
  std::memcpy(buf_, whole.data(), size_);
  remainder_.assign(whole.begin() + size_, whole.begin() + r);
  *n = size_;
  return ERROR_MORE_DATA;
}

DWORD PipeObject::TryWrite(DWORD* n) {
  if (!connFd_) return ERROR_PIPE_LISTENING;
  ssize_t r = send(connFd_.get(), buf_, size_, MSG_DONTWAIT | MSG_NOSIGNAL);
  if (r < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return kWouldBlock;
    if (errno == EPIPE || errno == ECONNRESET) return ERROR_NO_DATA;
    return errno == EMSGSIZE ? ERROR_INVALID_PARAMETER : Win32FromErrno(errno);
  }
  *n = static_cast<DWORD>(r);
  return ERROR_SUCCESS;
}

BOOL PipeObject::Connect(LPOVERLAPPED ov) {
  {
    std::lock_guard<std::mutex> lock(m_);
    if (connFd_ && op_ == Op::None) {
      SetLastError(ERROR_PIPE_CONNECTED);
      return FALSE;
    }
  }
  DWORD n = 0;
  bool immediate = false;
  BOOL ok = Start(Op::Connect, ov, nullptr, 0, &n, &immediate);
  if (ok && immediate) {
    // A client was already waiting: reported as on Windows, the event untouched.
    SetLastError(ERROR_PIPE_CONNECTED);
    return FALSE;
  }
  return ok;
}

BOOL PipeObject::Start(Op op, LPOVERLAPPED ov, LPVOID buffer, DWORD size, LPDWORD n, bool* immediate) {
  std::unique_lock<std::mutex> lock(m_);
  if (op_ != Op::None) {
    SetLastError(ERROR_BUSY);
    return FALSE;
  }
  op_ = op;
  buf_ = static_cast<char*>(buffer);
  size_ = size;
  DWORD got = 0;
  DWORD err = Attempt(&got);
  if (immediate) *immediate = err != kWouldBlock;
  if (err != kWouldBlock) {
    op_ = Op::None;
    if (ov) {
      ov->Internal = err;
      ov->InternalHigh = got;
      if (op != Op::Connect && ov->hEvent && (err == ERROR_SUCCESS || err == ERROR_MORE_DATA)) SetEvent(ov->hEvent);
    }
    if (n) *n = got;
    SetLastError(err);
    return err == ERROR_SUCCESS;
  }
  OVERLAPPED own{};
  LPOVERLAPPED record = ov ? ov : &own;
  record->Internal = STATUS_PENDING;
  record->InternalHigh = 0;
  ov_ = record;
  inWorker_ = true;
  cv_.notify_all();
  if (ov) {
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
  }
  cv_.wait(lock, [&] { return ov_ != &own; });
  if (n) *n = static_cast<DWORD>(own.InternalHigh);
  SetLastError(static_cast<DWORD>(own.Internal));
  return own.Internal == ERROR_SUCCESS;
}

void PipeObject::Complete(DWORD err, DWORD n) {
  ov_->Internal = err;
  ov_->InternalHigh = n;
  HANDLE event = ov_->hEvent;
  op_ = Op::None;
  ov_ = nullptr;
  inWorker_ = false;
  cv_.notify_all();
  if (event) SetEvent(event);
}

void PipeObject::WorkerLoop() {
  std::unique_lock<std::mutex> lock(m_);
  for (;;) {
    cv_.wait(lock, [&] { return quit_ || inWorker_; });
    if (quit_) return;
    for (;;) {
      if (cancel_) { Complete(ERROR_OPERATION_ABORTED, 0); break; }
      DWORD n = 0;
      DWORD err = Attempt(&n);
      if (err != kWouldBlock) { Complete(err, n); break; }
      // While a client is served, callers who connect meanwhile go to the waiting room.
      if (op_ != Op::Connect && !gatherFailed_) GatherLocked();
      pollfd fds[3] = {{op_ == Op::Connect ? listenFd_.get() : connFd_.get(),
                        static_cast<short>(op_ == Op::Write ? POLLOUT : (POLLIN | POLLRDHUP)), 0},
                       {wakeFd_.get(), POLLIN, 0},
                       {listenFd_.get(), POLLIN, 0}};
      const bool watchListen = op_ != Op::Connect && !gatherFailed_ && room_->HasRoom();
      lock.unlock();
      poll(fds, watchListen ? 3 : 2, -1);
      if (fds[1].revents & POLLIN) {
        std::uint64_t v = 0;
        [[maybe_unused]] ssize_t r = read(wakeFd_.get(), &v, sizeof v);
      }
      lock.lock();
    }
  }
}

void PipeObject::CancelLocked(std::unique_lock<std::mutex>& lock) {
  if (!inWorker_) return;
  cancel_ = true;
  std::uint64_t one = 1;
  [[maybe_unused]] ssize_t w = write(wakeFd_.get(), &one, sizeof one);
  cv_.wait(lock, [&] { return !inWorker_; });
  cancel_ = false;
}

BOOL PipeObject::Cancel() {
  std::unique_lock<std::mutex> lock(m_);
  CancelLocked(lock);
  return TRUE;
}

BOOL PipeObject::Disconnect() {
  std::unique_lock<std::mutex> lock(m_);
  CancelLocked(lock);
  remainder_.clear();
  if (!connFd_) {
    SetLastError(ERROR_PIPE_NOT_CONNECTED);
    return FALSE;
  }
  connFd_.reset();
  return TRUE;
}

BOOL PipeObject::Result(LPOVERLAPPED ov, LPDWORD n, BOOL wait) {
  if (!ov) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
  std::unique_lock<std::mutex> lock(m_);
  if (ov_ == ov) {
    if (!wait) { SetLastError(ERROR_IO_INCOMPLETE); return FALSE; }
    cv_.wait(lock, [&] { return ov_ != ov; });
  }
  if (n) *n = static_cast<DWORD>(ov->InternalHigh);
  SetLastError(static_cast<DWORD>(ov->Internal));
  return ov->Internal == ERROR_SUCCESS;
}

std::shared_ptr<PipeObject> PipeOf(HANDLE handle) {
  auto pipe = orv::win::LookupHandleAs<PipeObject>(handle);
  if (!pipe) SetLastError(ERROR_INVALID_HANDLE);
  return pipe;
}

}  // namespace

}  // namespace orv::pipe

extern "C" HANDLE WINAPI CreateNamedPipeA(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD maxInstances, DWORD,
                                          DWORD, DWORD defaultTimeOut, LPSECURITY_ATTRIBUTES attributes) {
  using namespace orv::pipe;
  PipePaths paths;
  if (!PathsOf(name, &paths)) return INVALID_HANDLE_VALUE;
  const DWORD known = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE;
  if ((openMode & ~known) || (openMode & PIPE_ACCESS_DUPLEX) != PIPE_ACCESS_DUPLEX ||
      pipeMode != (PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT) || maxInstances != 1) {
    SetLastError(maxInstances == 0 || maxInstances > PIPE_UNLIMITED_INSTANCES ? ERROR_INVALID_PARAMETER
                                                                               : ERROR_NOT_SUPPORTED);
    return INVALID_HANDLE_VALUE;
  }
  auto pipeObject = std::make_shared<PipeObject>();
  DWORD err = pipeObject->Create(paths, orv::security::RulesOf(attributes ? attributes->lpSecurityDescriptor : nullptr),
                                 defaultTimeOut, (openMode & FILE_FLAG_FIRST_PIPE_INSTANCE) != 0);
  if (err != ERROR_SUCCESS) {
    pipeObject.reset();  // closes what was opened before the last error is set
    SetLastError(err);
    return INVALID_HANDLE_VALUE;
  }
  SetLastError(ERROR_SUCCESS);
  return orv::win::RegisterHandle(pipeObject);
}

extern "C" BOOL WINAPI ConnectNamedPipe(HANDLE pipe, LPOVERLAPPED overlapped) {
  auto p = orv::pipe::PipeOf(pipe);
  return p ? p->Connect(overlapped) : FALSE;
}

extern "C" BOOL WINAPI DisconnectNamedPipe(HANDLE pipe) {
  auto p = orv::pipe::PipeOf(pipe);
  return p ? p->Disconnect() : FALSE;
}
