// What the provider does with what a client sends: the frames cut from the
// stream, and each request run against the firmware with its reply.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "sim/catalog.h"
#include "sim/firmware.h"

namespace orv::sim {

// One request's outcome for its connection.
struct Answer {
  std::string frame;                        // the reply, framed
  std::optional<EventTarget> subscription;  // events the connection now asks for
  bool stop = false;                        // the stop command: the provider ends
};

// Keeps the firmware's state where it survives the provider: false, with the
// reason, when it could not.
using Keep = std::function<bool(const EcState& state, std::string* reason)>;

// Runs one request body. Whatever the bytes, the reply is a whole frame whose
// first field is the status (the exit code for the simulator's commands). A
// request that changed the state is done only once keep has kept the new state;
// when it cannot, the change is undone (its events unraised) and the request
// fails (WBEM_E_FAILED; exit code 1 with the reason for a command). Without keep
// the state is kept nowhere.
Answer HandleRequest(Firmware& firmware, Catalog& catalog, const std::string& body, const Keep& keep = nullptr);

// Hands each whole frame at the front of input to handle, in order, and drops
// them from input; a frame cut short stays for the next bytes. handle returns
// false when input is gone (its connection closed): nothing is touched after
// that. False when a frame is longer than any peer may send.
bool TakeFrames(std::string* input, const std::function<bool(const std::string&)>& handle);

}  // namespace orv::sim
