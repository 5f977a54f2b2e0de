// orv-sim: starts and stops the simulated firmware and acts on it as the user and
// the hardware would (keys, switches, sensors, the adaptor).
#include <cstdio>
#include <string>
#include <vector>

#include "sim/control.h"
#include "sim/launcher.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  auto usage = [](FILE* to) { std::fputs(orv::sim::ControlUsage().c_str(), to); };
  if (words.empty()) { usage(stderr); return 2; }
  if (words[0] == "help" || words[0] == "--help" || words[0] == "-h") { usage(stdout); return 0; }
  std::string message;
  if (words.size() == 1 && (words[0] == "start" || words[0] == "stop")) {
    bool ok = words[0] == "start" ? orv::sim::StartProvider(&message) : orv::sim::StopProvider(&message);
    std::fputs(message.c_str(), ok ? stdout : stderr);
    return ok ? 0 : 1;
  }
  orv::sim::Action action;
  if (!orv::sim::ParseControl(words, &action, &message)) {
    std::fprintf(stderr, "orv-sim: %s\n", message.c_str());
    usage(stderr);
    return 2;
  }
  int code = 0;
  std::string text;
  if (!orv::sim::SendControl(words, &code, &text)) {
    std::fprintf(stderr, "orv-sim: orv-firmware is not running (orv-sim start)\n");
    return 1;
  }
  std::fputs(text.c_str(), code == 0 ? stdout : stderr);
  return code;
}
