// The server's routes, its WebSocket clients and what they are sent. Each page
// has a sender thread of its own, so a page that reads slowly holds up nobody:
// it is sent the texts in order and only the latest frame.
#include "sim/web/server.h"

#include <civetweb.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <thread>
#include <vector>

#include "platform/desktop/sim/frame_server.h"
#include "sim/firmware.h"
#include "sim/launcher.h"
#include "sim/web/commands.h"
#include "sim/web/page_files.h"
#include "sim/web/text.h"

namespace orv::web {

namespace {
constexpr std::size_t kMaxQueued = 256;
}  // namespace

struct WebServer::Client {
  mg_connection* conn = nullptr;
  std::mutex mutex;
  std::condition_variable more;
  std::deque<std::string> texts;
  std::shared_ptr<const std::string> frame;  // not yet sent
  bool closing = false;
  std::thread sender;

  void Send() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      more.wait(lock, [&] { return closing || !texts.empty() || frame; });
      if (closing) return;
      std::deque<std::string> out;
      out.swap(texts);
      std::shared_ptr<const std::string> picture = std::move(frame);
      frame.reset();
      lock.unlock();
      bool ok = true;
      for (const std::string& t : out)
        ok = ok && mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_TEXT, t.data(), t.size()) > 0;
      if (ok && picture)
        ok = mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_BINARY, picture->data(), picture->size()) > 0;
      lock.lock();
      if (!ok) return;  // the page went; its close ends the client
    }
  }
  void Queue(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex);
    if (texts.size() >= kMaxQueued) texts.pop_front();  // a page that reads nothing loses the oldest
    texts.push_back(text);
    more.notify_one();
  }
  void QueueFrame(std::shared_ptr<const std::string> png) {
    std::lock_guard<std::mutex> lock(mutex);
    frame = std::move(png);
    more.notify_one();
  }
  void End() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      closing = true;
      more.notify_one();
    }
    if (sender.joinable()) sender.join();
  }
};

namespace {

constexpr std::size_t kLogBytes = 6000;

std::int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int SendError(mg_connection* conn, int code, const char* text) {
  mg_send_http_error(conn, code, "%s\n", text);
  return code;
}

}  // namespace

bool WebServer::Start(int port, const ServerPaths& paths, std::string* error) {
  if (port < 0 || port > 65535) {
    *error = "the port is a number 0..65535";
    return false;
  }
  paths_ = paths;
  if (!mg_check_feature(MG_FEATURES_WEBSOCKET)) {
    *error = "this CivetWeb has no WebSocket support";
    return false;
  }
  mg_init_library(MG_FEATURES_WEBSOCKET);
  libraryUp_ = true;
  const std::string listen = "127.0.0.1:" + std::to_string(port);
  // No document root: nothing is served from files. Threads: the pages' sockets
  // and a few requests at once.
  const std::string threads = std::to_string(kMaxClients + 4);
  const char* options[] = {"listening_ports", listen.c_str(), "num_threads", threads.c_str(),
                           "request_timeout_ms", "10000", "websocket_timeout_ms", "3600000",
                           "enable_keep_alive", "no", "max_request_size", "8192",
                           "access_control_allow_origin", "", "enable_directory_listing", "no",
                           nullptr};
  mg_callbacks callbacks;
  std::memset(&callbacks, 0, sizeof callbacks);
  context_ = mg_start(&callbacks, this, options);
  if (!context_) {
    *error = "cannot listen on " + listen;
    return false;
  }
  mg_server_port ports[2];
  if (mg_get_server_ports(context_, 2, ports) < 1) {
    Stop();
    *error = "no port to listen on";
    return false;
  }
  port_ = ports[0].port;
  mg_set_request_handler(context_, "/", OnRequest, this);
  mg_set_websocket_handler(context_, "/ws", OnConnect, OnReady, OnData, OnClose, this);
  return true;
}

void WebServer::Stop() {
  if (context_) mg_stop(context_);  // closes every page first
  context_ = nullptr;
  // A page whose close the server did not report still has its sender.
  std::map<const mg_connection*, std::shared_ptr<Client>> left;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    left.swap(clients_);
  }
  for (auto& [conn, client] : left) client->End();
  if (libraryUp_) mg_exit_library();
  libraryUp_ = false;
}

bool WebServer::OwnRequest(const mg_connection* conn) const {
  const std::string port = std::to_string(port_);
  const char* host = mg_get_header(conn, "Host");
  const char* origin = mg_get_header(conn, "Origin");
  // The loopback names, with this port or (a client that leaves it out) none.
  auto named = [&](const char* value, const std::string& scheme, bool portless) {
    if (!value) return false;
    for (const char* name : {"127.0.0.1", "localhost"}) {
      const std::string bare = scheme + name;
      if (value == bare + ":" + port || (portless && value == bare)) return true;
    }
    return false;
  };
  return named(host, "", true) && (!origin || named(origin, "http://", false));
}

int WebServer::OnRequest(mg_connection* conn, void* self) {
  auto* server = static_cast<WebServer*>(self);
  const mg_request_info* info = mg_get_request_info(conn);
  if (!info || !info->local_uri || !info->request_method) return SendError(conn, 400, "Bad request.");
  if (!server->OwnRequest(conn)) return SendError(conn, 403, "This server answers its own page on 127.0.0.1 only.");
  const bool head = std::strcmp(info->request_method, "HEAD") == 0;
  if (!head && std::strcmp(info->request_method, "GET") != 0) return SendError(conn, 405, "Only GET is served.");
  const PageFile* file = FindPageFile(info->local_uri);
  if (!file) {
    if (std::strcmp(info->local_uri, "/ws") == 0) return SendError(conn, 426, "This is the page's WebSocket.");
    return SendError(conn, 404, "Not here.");
  }
  const std::string port = std::to_string(server->port_);
  mg_printf(conn,
            "HTTP/1.1 200 OK\r\nContent-Type: %s\r\nContent-Length: %zu\r\nCache-Control: no-store\r\n"
            "X-Content-Type-Options: nosniff\r\nContent-Security-Policy: default-src 'self'; img-src 'self' blob:; "
            "connect-src ws://127.0.0.1:%s ws://localhost:%s; frame-ancestors 'none'; base-uri 'none'\r\n"
            "Connection: close\r\n\r\n",
            file->type, file->size, port.c_str(), port.c_str());
  if (!head) mg_write(conn, file->data, file->size);
  return 200;
}

int WebServer::OnConnect(const mg_connection* conn, void* self) {
  auto* server = static_cast<WebServer*>(self);
  if (!server->OwnRequest(conn)) return 1;
  std::lock_guard<std::mutex> lock(server->mutex_);
  return static_cast<int>(server->clients_.size()) >= kMaxClients ? 1 : 0;
}

void WebServer::OnReady(mg_connection* conn, void* self) {
  auto* server = static_cast<WebServer*>(self);
  auto client = std::make_shared<Client>();
  client->conn = conn;
  client->Queue(server->HelloMessage());
  client->Queue(server->StatusMessage());
  client->Queue(server->LogMessage());
  {
    std::lock_guard<std::mutex> lock(server->mutex_);
    if (server->frame_) client->QueueFrame(server->frame_);
    server->clients_[conn] = client;
  }
  client->sender = std::thread(&Client::Send, client.get());
}

int WebServer::OnData(mg_connection* conn, int bits, char* data, size_t length, void* self) {
  auto* server = static_cast<WebServer*>(self);
  const int opcode = bits & 0x0F;
  if (opcode == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE) return 0;
  if (opcode == MG_WEBSOCKET_OPCODE_PING || opcode == MG_WEBSOCKET_OPCODE_PONG) return 1;
  std::shared_ptr<Client> client;
  {
    std::lock_guard<std::mutex> lock(server->mutex_);
    auto it = server->clients_.find(conn);
    if (it == server->clients_.end()) return 0;
    client = it->second;
  }
  const bool whole = (bits & 0x80) != 0;
  if (opcode != MG_WEBSOCKET_OPCODE_TEXT || !whole) {
    client->Queue("{\"type\":\"reply\",\"ok\":false,\"text\":\"the page sends one command per text message\"}");
    return 1;
  }
  bool simulator = false;
  client->Queue(server->Run(std::string(data, length), &simulator));
  if (simulator) server->PushStatus();  // after the reply: what the command did, then the state it left
  return 1;
}

void WebServer::OnClose(const mg_connection* conn, void* self) {
  auto* server = static_cast<WebServer*>(self);
  std::shared_ptr<Client> client;
  {
    std::lock_guard<std::mutex> lock(server->mutex_);
    auto it = server->clients_.find(conn);
    if (it == server->clients_.end()) return;
    client = it->second;
    server->clients_.erase(it);
  }
  client->End();
}

std::string WebServer::Run(const std::string& command, bool* simulator) {
  PageCommand parsed;
  std::string error;
  std::string reply = "{\"type\":\"reply\",\"command\":" + JsonString(command.substr(0, kMaxCommand));
  if (!ParsePageCommand(command, &parsed, &error))
    return reply + ",\"ok\":false,\"text\":" + JsonString(error) + "}";
  const std::int64_t at = NowUs();
  bool ok = false;
  std::string text;
  if (parsed.kind == PageCommand::Kind::Sim) {
    int code = 0;
    if (!sim::SendControl(parsed.simWords, &code, &text)) text = "orv-firmware is not running (orv-sim start)\n";
    else ok = code == 0;
    *simulator = true;
  } else {
    const gfx::Status s = desktop::RequestText(parsed.desktopLine, &text);
    if (s != gfx::Ok) text = s == gfx::FileNotFound ? "no desktop is running\n" : "the desktop did not answer\n";
    else ok = text.rfind("ERR ", 0) != 0;
    if (text.rfind("ERR ", 0) == 0) text.erase(0, 4);
    if (text == "OK\n") text.clear();
  }
  return reply + ",\"ok\":" + (ok ? "true" : "false") + ",\"text\":" + JsonString(text) +
         ",\"atUs\":" + std::to_string(at) + "}";
}

std::string WebServer::HelloMessage() const {
  std::string keys;
  for (const std::string& k : sim::Firmware::KeyNames()) keys += (keys.empty() ? "" : ",") + JsonString(k);
  std::string hello = "{\"type\":\"hello\",\"keys\":[" + keys + "]";
  for (const char* state : {"sleep", "hibernate", "wake"})
    hello += ",\"" + std::string(state) + "\":" + (SimHasCommand({state}) ? "true" : "false");
  return hello + "}";
}

std::string WebServer::StatusMessage() const {
  int code = 0;
  std::string text;
  if (!sim::SendControl({"status"}, &code, &text)) text = "orv-firmware is not running (orv-sim start)\n";
  return "{\"type\":\"status\",\"text\":" + JsonString(text) + "}";
}

std::string WebServer::LogMessage() const {
  return "{\"type\":\"log\",\"text\":" + JsonString(TailOfFile(paths_.log, kLogBytes)) + "}";
}

void WebServer::Broadcast(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& [conn, client] : clients_) client->Queue(text);
}

void WebServer::PushFrame(const std::string& png) {
  auto frame = std::make_shared<const std::string>(png);
  std::lock_guard<std::mutex> lock(mutex_);
  frame_ = frame;
  for (auto& [conn, client] : clients_) client->QueueFrame(frame);
}

void WebServer::PushStatus() { Broadcast(StatusMessage()); }
void WebServer::PushLog() { Broadcast(LogMessage()); }

}  // namespace orv::web
