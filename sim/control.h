// The simulator's own commands (acting as the user and the hardware), shared by
// the control program, which checks them, and the provider, which runs them.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "sim/firmware.h"

namespace orv::sim {

// Runs a parsed command on the firmware and returns the text to print.
using Action = std::function<std::string(Firmware&)>;

// False with a message for an unknown command or bad arguments.
bool ParseControl(const std::vector<std::string>& words, Action* action, std::string* error);

// The usage text of the control program.
std::string ControlUsage();

}  // namespace orv::sim
