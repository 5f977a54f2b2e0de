// The provider that stands in for the notebook's WMI: it holds the firmware,
// serves any number of clients on the local socket and keeps the state file.
#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "platform/base/sim/unique_fd.h"
#include "sim/catalog.h"
#include "sim/firmware.h"

namespace orv::sim {

class Provider {
 public:
  Provider();
  ~Provider();
  Provider(const Provider&) = delete;
  Provider& operator=(const Provider&) = delete;

  // Takes the provider lock of the state folder, loads the state and listens.
  // False with a message when another provider runs there or listening fails.
  bool Open(std::string* error);
  // A note from loading the state (a damaged file), empty otherwise.
  const std::string& LoadNotice() const { return notice_; }
  // Serves until Stop(), a stop command, or the socket file being removed.
  void Run();
  // Safe from any thread and from a signal handler.
  void Stop();

 private:
  struct Connection;
  void Accept();
  void Read(Connection& c);
  void Flush(Connection& c);
  void Close(int fd);
  void Handle(Connection& c, const std::string& body);
  void Publish();
  // Saves the state unless it is the one saved last; false with the reason when it cannot.
  bool Keep(const EcState& state, std::string* reason);
  bool SocketStillOurs() const;

  Firmware firmware_;
  Catalog catalog_{firmware_};
  EcState saved_;
  std::string statePath_, socketPath_, notice_;
  orv::sim::unique_fd lockFd_, listenFd_, epollFd_, wakeFd_;
  unsigned long socketInode_ = 0;
  bool stopping_ = false;
  std::map<int, std::unique_ptr<Connection>> connections_;
};

// A provider serving on a thread of its own, for tests in one process.
class ProviderThread {
 public:
  ProviderThread() = default;
  ~ProviderThread() { Stop(); }
  bool Start(std::string* error);
  void Stop();

 private:
  std::unique_ptr<Provider> provider_;
  std::thread thread_;
};

}  // namespace orv::sim
