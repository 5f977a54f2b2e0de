// The tests' WebSocket client.
#include "tests/web/ws_client.h"

#include <civetweb.h>

namespace webtest {

WsClient::WsClient(int port, const std::string& origin) {
  mg_init_library(MG_FEATURES_WEBSOCKET);
  char error[256] = "";
  conn_ = mg_connect_websocket_client("127.0.0.1", port, 0, error, sizeof error, "/ws",
                                      origin.empty() ? nullptr : origin.c_str(), OnData, OnClose, this);
  error_ = error;
}

WsClient::~WsClient() {
  if (conn_) {
    mg_close_connection(conn_);
    // The close handler runs on the client's own thread; wait for it so that
    // nothing calls back into this object afterwards.
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(30), [&] { return closed_; });
  }
  mg_exit_library();
}

bool WsClient::SendText(const std::string& text) {
  return conn_ && mg_websocket_client_write(conn_, MG_WEBSOCKET_OPCODE_TEXT, text.data(), text.size()) > 0;
}

bool WsClient::SendBinary(const std::string& data) {
  return conn_ && mg_websocket_client_write(conn_, MG_WEBSOCKET_OPCODE_BINARY, data.data(), data.size()) > 0;
}

bool WsClient::Next(const std::function<bool(const WsMessage&)>& match, WsMessage* out,
                    std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    while (!messages_.empty()) {
      WsMessage m = std::move(messages_.front());
      messages_.pop_front();
      if (match(m)) {
        *out = std::move(m);
        return true;
      }
    }
    if (closed_ || arrived_.wait_until(lock, deadline) == std::cv_status::timeout) {
      if (messages_.empty()) return false;
    }
  }
}

bool WsClient::closed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

int WsClient::OnData(mg_connection*, int bits, char* data, size_t length, void* self) {
  auto* client = static_cast<WsClient*>(self);
  const int opcode = bits & 0x0F;
  if (opcode != MG_WEBSOCKET_OPCODE_TEXT && opcode != MG_WEBSOCKET_OPCODE_BINARY) return 1;
  std::lock_guard<std::mutex> lock(client->mutex_);
  client->messages_.push_back({opcode == MG_WEBSOCKET_OPCODE_BINARY, std::string(data, length)});
  client->arrived_.notify_all();
  return 1;
}

void WsClient::OnClose(const mg_connection*, void* self) {
  auto* client = static_cast<WsClient*>(self);
  std::lock_guard<std::mutex> lock(client->mutex_);
  client->closed_ = true;
  client->arrived_.notify_all();
}

bool OfType(const WsMessage& m, const std::string& type) {
  return !m.binary && m.data.rfind("{\"type\":\"" + type + "\"", 0) == 0;
}

}  // namespace webtest
