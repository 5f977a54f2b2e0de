// The page's server on CivetWeb, on 127.0.0.1 only: a fixed set of routes (the
// page's three files, held in the program, and the WebSocket /ws); no request
// reaches the file system. Over the WebSocket the page gets the desktop's frames
// (binary messages, PNG) as they change, and JSON texts: "hello" (the function
// keys, whether sleep, hibernate and wake exist), "status" (the firmware state), "log" (the
// tail of the tray's log) and "reply" (what a command of the page did); and it
// sends command lines (sim/web/commands.h).
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>

struct mg_context;
struct mg_connection;

namespace orv::web {

constexpr int kMaxClients = 4;  // pages open at once; each holds a server thread

struct ServerPaths {
  std::string log;  // the tray's log file (host path)
};

class WebServer {
 public:
  WebServer() = default;
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;
  ~WebServer() { Stop(); }

  // Listens on 127.0.0.1:port (0: a free port); false with the reason.
  bool Start(int port, const ServerPaths& paths, std::string* error);
  int Port() const { return port_; }
  void Stop();

  // A new frame of the desktop, for every page (a page that is behind gets the latest only).
  void PushFrame(const std::string& png);
  // The firmware state and the log's tail, read now, for every page.
  void PushStatus();
  void PushLog();

  struct Client;

 private:
  static int OnRequest(mg_connection* conn, void* self);
  static int OnConnect(const mg_connection* conn, void* self);
  static void OnReady(mg_connection* conn, void* self);
  static int OnData(mg_connection* conn, int bits, char* data, size_t length, void* self);
  static void OnClose(const mg_connection* conn, void* self);

  // Whether the request names this server (Host) and comes from its own page
  // (Origin, when a browser sends one): a page of another site, or a name that
  // only rebinds to 127.0.0.1, gets nothing.
  bool OwnRequest(const mg_connection* conn) const;
  void Broadcast(const std::string& text);
  std::string StatusMessage() const;
  std::string LogMessage() const;
  std::string HelloMessage() const;
  // The reply to a command of the page; *simulator when it went to the simulator.
  std::string Run(const std::string& command, bool* simulator);

  mg_context* context_ = nullptr;
  bool libraryUp_ = false;
  int port_ = 0;
  ServerPaths paths_;
  mutable std::mutex mutex_;
  std::map<const mg_connection*, std::shared_ptr<Client>> clients_;
  std::shared_ptr<const std::string> frame_;  // the latest, for pages that open later
};

}  // namespace orv::web
