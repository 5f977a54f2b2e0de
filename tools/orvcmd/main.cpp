// orvcmd: runs command strings and prints each result text on its own line, either
// in this process or through the service's pipe (--pipe), for trying strings by
// hand and for scripts.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "library/OrvWmiAcpi.h"

namespace {

constexpr std::size_t kRequestSize = 80;   // one pipe request
constexpr std::size_t kReplySize = 800;    // what the tray reads a reply into

int Usage() {
  std::fprintf(stderr,
               "usage: orvcmd [--pipe] [--echo] COMMAND...\n"
               "       orvcmd [--pipe] [--echo] -      (one command a line from standard input)\n"
               "  COMMAND  namespace:Q:class:property:instance\n"
               "           namespace:S:class:property:instance:value\n"
               "  --pipe   send each command to the service instead of running it here\n"
               "  --echo   print each command before its result\n");
  return 2;
}

// The result text of one command; false when the pipe exchange itself failed.
bool RunOne(const std::string& command, bool viaPipe, std::string* text) {
  if (viaPipe) {
    if (command.size() >= kRequestSize) {
      *text = "command longer than 79 characters";
      return false;
    }
    char request[kRequestSize] = {};
    std::memcpy(request, command.data(), command.size());
    char reply[kReplySize] = {};
    if (!Orv_CallNamePipe(request, kRequestSize, reply, kReplySize)) {
      *text = "the service did not answer";
      return false;
    }
    reply[kReplySize - 1] = '\0';
    *text = reply;
    return true;
  }
  char result[ORV_VALUE_SLOT] = {};
  COrvWmiAcpi wmi;
  wmi.CallOrvWmiAcpiParser(command.c_str(), result, sizeof result);
  *text = result;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool viaPipe = false, echo = false;
  std::vector<std::string> commands;
  bool fromStdin = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--pipe") viaPipe = true;
    else if (a == "--echo") echo = true;
    else if (a == "-") fromStdin = true;
    else if (a == "-h" || a == "--help") return Usage();
    else commands.push_back(a);
  }
  if (fromStdin) {
    for (std::string line; std::getline(std::cin, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) commands.push_back(line);
    }
  }
  if (commands.empty()) return Usage();

  int failures = 0;
  for (const auto& command : commands) {
    std::string text;
    bool ok = RunOne(command, viaPipe, &text);
    if (echo) std::printf("%s -> ", command.c_str());
    if (ok) {
      std::printf("%s\n", text.c_str());
    } else {
      std::printf("\n");
      std::fprintf(stderr, "orvcmd: %s: %s\n", command.c_str(), text.c_str());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
