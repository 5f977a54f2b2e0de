// One pipe request: the command string made safe and run through the library's
// parser, with sets allowed only on the firmware's own classes.
#pragma once
#include <cstddef>

namespace orv::service {

constexpr std::size_t kRequestSize = 80;
constexpr std::size_t kReplySize = 180;

// True unless command is a set ("S" op code) outside the firmware's classes: a
// set must name the namespace root\WMI (in any case) and a class beginning with
// "Orv_". Queries and malformed lines pass; the parser answers those.
bool SetAllowed(const char* command);

// Runs the request (kRequestSize bytes, NUL-terminated within them) and writes
// the result text into reply (replySize bytes, cleared by the caller).
void RunRequest(const char* request, char* reply, std::size_t replySize);

}  // namespace orv::service
