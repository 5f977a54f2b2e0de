// The simulator's own commands (acting as the user and the hardware), shared by
// the control program, which checks them, and the provider, which runs them.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sim/firmware.h"

namespace orv::sim {

// What a command did: the text to print, and whether the notebook could do it
// (a volume set without any audio endpoint cannot).
struct ControlReply {
  ControlReply(std::string t) : text(std::move(t)) {}  // NOLINT: a plain text is a success
  static ControlReply Failed(std::string t) {
    ControlReply r(std::move(t));
    r.done = false;
    return r;
  }
  std::string text;
  bool done = true;
};

// Runs a parsed command on the firmware.
using Action = std::function<ControlReply(Firmware&)>;

// False with a message for an unknown command or bad arguments.
bool ParseControl(const std::vector<std::string>& words, Action* action, std::string* error);
// The volume and audio commands (sim/audio_control.cpp), the same way.
bool ParseAudioControl(const std::vector<std::string>& words, Action* action, std::string* error);
// A percentage 0..100 in decimal; false for anything else.
bool ParsePercent(const std::string& s, int* out);

// The usage text of the control program.
std::string ControlUsage();

}  // namespace orv::sim
