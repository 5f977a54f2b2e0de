// orv-web: the simulated notebook in a browser page. Serves the page on
// 127.0.0.1 (and nowhere else), prints its address and runs until SIGINT or
// SIGTERM.
//   orv-web [--port N]          N = 0 takes a free port; default 8787
//   orv-web --listen 127.0.0.1:N
#include <windows.h>

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/fs/sim/paths.h"
#include "platform/home/sim/home.h"
#include "sim/web/changes.h"
#include "sim/web/frame_feed.h"
#include "sim/web/server.h"

namespace {

constexpr int kDefaultPort = 8787;

int Usage() {
  std::fprintf(stderr, "usage: orv-web [--port N | --listen 127.0.0.1:N]   (N = 0: any free port)\n");
  return 2;
}

bool ParsePort(const std::string& text, int* port) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  *port = std::atoi(text.c_str());
  return *port <= 65535;
}

// The tray's log, where the tray writes it: "C:\Users\<user>\Documents\CalvexLogFile.txt".
std::string LogPath() {
  char user[256] = "";
  DWORD size = sizeof user;
  if (!GetUserNameA(user, &size)) return std::string();
  return orv::fs::MapPath(std::string("C:\\Users\\") + user + "\\Documents\\CalvexLogFile.txt").host;
}

}  // namespace

int main(int argc, char** argv) {
  int port = kDefaultPort;
  if (argc == 3 && std::string(argv[1]) == "--port") {
    if (!ParsePort(argv[2], &port)) return Usage();
  } else if (argc == 3 && std::string(argv[1]) == "--listen") {
    const std::string address = argv[2];
    const std::size_t colon = address.rfind(':');
    if (colon == std::string::npos || !ParsePort(address.substr(colon + 1), &port)) return Usage();
    if (address.substr(0, colon) != "127.0.0.1") {
      std::fprintf(stderr, "orv-web: serves on 127.0.0.1 only, not on %s\n", address.substr(0, colon).c_str());
      return 2;
    }
  } else if (argc != 1) {
    return Usage();
  }
  const std::string log = LogPath();
  if (log.empty()) {
    std::fprintf(stderr, "orv-web: cannot tell where the tray's log is\n");
    return 1;
  }
  // The signals are taken by sigwait below, never by the server's threads.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::string error;
  orv::web::WebServer server;
  if (!server.Start(port, orv::web::ServerPaths{log}, &error)) {
    std::fprintf(stderr, "orv-web: %s\n", error.c_str());
    return 1;
  }
  orv::web::FrameFeed feed([&](const std::string& png) { server.PushFrame(png); });
  orv::web::ChangeWatch changes;
  const orv::web::ChangeFiles files{orv::home::Path("desktop.sock"), orv::home::Path("wmi/firmware.state"), log};
  if (!changes.Start(files, {[&] { feed.Wake(); }, [&] { server.PushStatus(); }, [&] { server.PushLog(); }},
                     &error)) {
    std::fprintf(stderr, "orv-web: %s\n", error.c_str());
    return 1;
  }
  std::printf("orv-web: the notebook's page is at http://127.0.0.1:%d/\n", server.Port());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stop, &signal);
  changes.Stop();
  server.Stop();
  return 0;
}
