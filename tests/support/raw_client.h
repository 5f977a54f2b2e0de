// A connection made by hand to a pipe's socket, as a client that does not go
// through CallNamedPipe would make it: for the tests of what such clients can do.
#pragma once
#include <chrono>
#include <string>

namespace orv::test {

// Closed with the object.
class RawClient {
 public:
  // Connects to the socket at path; without blocking, a full listen queue leaves it unconnected.
  explicit RawClient(const std::string& path, bool blocking = true);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;
  bool connected() const { return connected_; }
  int fd() const { return fd_; }
  bool Send(const std::string& message);
  // The next message, waiting up to timeout; "<closed>" when the server ended the
  // connection, "<none>" when nothing came.
  std::string Receive(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  void Close();

 private:
  int fd_ = -1;
  bool connected_ = false;
};

}  // namespace orv::test
