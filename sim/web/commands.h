// What the page may ask of the notebook: each WebSocket text message is one
// command line, checked here before anything runs. Commands of the simulator
// ("sim press wireless", "sim radio off", ...) are the page's controls only,
// each also checked by the simulator's own parser; commands of the desktop
// ("click X Y left|right", "key NAME", "type TEXT") become the desktop's input
// requests, as orv-desktop sends them.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace orv::web {

constexpr std::size_t kMaxCommand = 1024;  // bytes of one message
constexpr std::size_t kMaxTyped = 256;     // characters of one "type"

struct PageCommand {
  enum class Kind { Sim, Desktop } kind = Kind::Sim;
  std::vector<std::string> simWords;  // Sim: the simulator's command words
  std::string desktopLine;            // Desktop: the input request line
};

// False with the reason for anything the page may not send.
bool ParsePageCommand(const std::string& message, PageCommand* out, std::string* error);

// Whether the simulator of this build has the command (e.g. "sleep"): the page
// shows only the controls that exist.
bool SimHasCommand(const std::vector<std::string>& words);

}  // namespace orv::web
