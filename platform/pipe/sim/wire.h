// What travels on a pipe's socket besides the callers' own messages. The socket
// is SOCK_SEQPACKET, so every message keeps its boundaries. When the server
// takes a connection it sends one byte first: kWelcome when the caller is
// admitted (from then on each side's messages are its WriteFile calls), or
// kRefused just before it closes the connection. A client still waiting for the
// instance has received nothing, which is how it knows the pipe is busy.
// CallNamedPipe sends its request as it connects, before the welcome: the
// request waits in the socket and the server reads it once it takes the call.
#pragma once
#include <cstdint>

namespace orv::pipe {

constexpr std::uint8_t kWelcome = 0x01;
constexpr std::uint8_t kRefused = 0x00;

// Listen queue of a pipe: clients beyond the one being served wait here.
constexpr int kBacklog = 16;

}  // namespace orv::pipe
