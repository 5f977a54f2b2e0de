// What the pipe tests share: a pipe made as the service makes it, an echo server
// on a thread of its own, and one call as a client.
#pragma once
#include <atomic>
#include <string>
#include <thread>

#include <windows.h>

namespace orv::pipe {

constexpr char kSddl[] = "D:(D;OICI;GA;;;BG)(D;OICI;GA;;;AN)(A;OICI;GRGWGX;;;AU)(A;OICI;GA;;;BA)";

HANDLE MakePipe(const char* name, const char* sddl = kSddl, DWORD timeout = 1000,
                DWORD flags = FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE);

// A cleared record on a reset event, as every operation needs.
OVERLAPPED Fresh(HANDLE event);

// Answers every request with "echo:" and its text, one client at a time, until stopped.
class EchoServer {
 public:
  explicit EchoServer(HANDLE pipe);
  ~EchoServer();
  EchoServer(const EchoServer&) = delete;
  EchoServer& operator=(const EchoServer&) = delete;
  int served() const { return served_; }

 private:
  void Loop();
  HANDLE pipe_, stop_, io_;
  std::atomic<int> served_{0};
  std::thread thread_;
};

// One CallNamedPipe: the reply text, or "" with *err set.
std::string Call(const char* name, const std::string& request, DWORD outSize = 800, DWORD timeout = 0,
                 DWORD* err = nullptr);

}  // namespace orv::pipe
