// A WebSocket client of the page's server for the tests, on CivetWeb's client
// side: the messages it was sent, in order, and a way to wait for one.
#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

struct mg_connection;

namespace webtest {

struct WsMessage {
  bool binary = false;
  std::string data;
};

class WsClient {
 public:
  // Connects to ws://127.0.0.1:port/ws with this Origin header (none when empty).
  WsClient(int port, const std::string& origin);
  ~WsClient();
  WsClient(const WsClient&) = delete;
  WsClient& operator=(const WsClient&) = delete;

  bool connected() const { return conn_ != nullptr; }
  const std::string& error() const { return error_; }
  bool SendText(const std::string& text);
  bool SendBinary(const std::string& data);
  // The first message from now on (earlier ones not taken included) that
  // matches, taking it and those before it; false when none came in time.
  bool Next(const std::function<bool(const WsMessage&)>& match, WsMessage* out,
            std::chrono::milliseconds timeout = std::chrono::seconds(30));
  bool closed();

 private:
  static int OnData(mg_connection* conn, int bits, char* data, size_t length, void* self);
  static void OnClose(const mg_connection* conn, void* self);

  mg_connection* conn_ = nullptr;
  std::string error_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<WsMessage> messages_;
  bool closed_ = false;
};

// Whether a text message is JSON of this "type".
bool OfType(const WsMessage& m, const std::string& type);

}  // namespace webtest
