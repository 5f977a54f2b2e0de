// A blocking connection to the provider's local socket that carries whole
// frames; the transport under every proxy of the WMI client layer.
#pragma once
#include <string>

#include "platform/base/sim/unique_fd.h"

namespace orv::wmi {

// Where the provider listens: $ORV_HOME/wmi/provider.sock.
std::string ProviderSocketPath();

class Channel {
 public:
  Channel() = default;
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  // False when nobody listens at the path.
  bool Connect(const std::string& path);
  bool Connected() const { return static_cast<bool>(fd_); }
  void Close();

  // Sends one message body (the length prefix is added).
  bool Send(const std::string& body);
  // Receives one message body; false on end of stream, error, oversized frame
  // or when timeoutMs (-1: no limit) passes first.
  bool Receive(std::string* body, int timeoutMs);
  // Send then Receive.
  bool Call(const std::string& request, std::string* reply, int timeoutMs);

  // Waits until a frame can be read or the wake descriptor becomes readable:
  // 1 data, 0 woken, -1 the connection failed.
  int WaitReadable(int wakeFd);

 private:
  bool ReadExact(char* p, std::size_t n, int timeoutMs);
  orv::sim::unique_fd fd_;
};

}  // namespace orv::wmi
