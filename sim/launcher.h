// The control program's side: starting and stopping the provider process and
// sending it commands.
#pragma once
#include <string>
#include <vector>

namespace orv::sim {

// True when a provider answers on the state folder's socket.
bool ProviderRunning();
// Starts orv-firmware (beside the calling program) in the background and waits
// until it answers; does nothing when one runs already.
bool StartProvider(std::string* message);
// Asks the provider to stop and waits until it has gone.
bool StopProvider(std::string* message);
// Sends one control command; *code is 0 for success, 1 for a command the notebook
// could not carry out, 2 for a refused command.
bool SendControl(const std::vector<std::string>& words, int* code, std::string* text);

}  // namespace orv::sim
