// orv-firmware: the simulated notebook's WMI provider, serving in the foreground
// until stopped (orv-sim start runs it in the background).
#include <csignal>
#include <cstdio>
#include <cstring>

#include "sim/provider.h"

namespace {
orv::sim::Provider* g_provider = nullptr;
void OnSignal(int) {
  if (g_provider) g_provider->Stop();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    bool help = std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0;
    std::fprintf(help ? stdout : stderr,
                 "usage: orv-firmware\n  serves the simulated firmware on $ORV_HOME/wmi/provider.sock;\n"
                 "  use orv-sim to start it in the background and to act on it\n");
    return help ? 0 : 2;
  }
  orv::sim::Provider provider;
  std::string error;
  if (!provider.Open(&error)) {
    std::fprintf(stderr, "orv-firmware: %s\n", error.c_str());
    return 1;
  }
  if (!provider.LoadNotice().empty()) std::fprintf(stderr, "orv-firmware: %s\n", provider.LoadNotice().c_str());
  g_provider = &provider;
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGPIPE, SIG_IGN);
  std::printf("orv-firmware: ready\n");
  std::fflush(stdout);
  provider.Run();
  g_provider = nullptr;
  return 0;
}
