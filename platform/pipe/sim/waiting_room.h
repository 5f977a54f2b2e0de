// The callers waiting for a pipe's one instance. The kernel's listen queue would
// hand them over strictly in turn, so a few silent connections could keep an
// honest caller behind them for all their deadlines, and a full queue would keep
// it out altogether. The room takes callers off the listen queue as they come and
// lets the server take first one whose request is already there (CallNamedPipe
// sends it with the connect). A caller that hung up leaves at once, without its
// request being run; one still silent after the pipe's default time-out, when
// every CallNamedPipe caller would have given up, is sent away; and a full room
// makes way for a newcomer by sending the longest-silent caller away.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

#include "platform/base/sim/unique_fd.h"

namespace orv::pipe {

class WaitingRoom {
 public:
  using Clock = std::chrono::steady_clock;

  WaitingRoom(std::size_t capacity, std::chrono::milliseconds patience);
  ~WaitingRoom() = default;  // closes every waiting connection
  WaitingRoom(const WaitingRoom&) = delete;
  WaitingRoom& operator=(const WaitingRoom&) = delete;

  // Takes the connections the listening socket holds, while there is room.
  // admitted(fd) judges each newcomer before anything of it is read; a refused one
  // gets refusal and is closed. Returns 0, or the errno of an accept that failed
  // for another reason than an empty listen queue.
  int Gather(int listenFd, const std::function<bool(int)>& admitted, std::uint8_t refusal);
  // Whether Gather could take a newcomer now.
  bool HasRoom();
  // The next caller to serve, out of the room: the longest-waiting one whose
  // request is there, else the longest-waiting one; none when no one waits.
  orv::sim::unique_fd Next();

 private:
  struct Caller {
    orv::sim::unique_fd fd;
    Clock::time_point since;
    bool hasRequest;  // as of the last sweep
  };
  // Sends away whoever hung up, and the silent ones whose patience has run out;
  // notes who has a request waiting.
  void Sweep();
  // The longest-waiting caller without a request, or end().
  std::deque<Caller>::iterator OldestSilent();

  std::deque<Caller> callers_;
  std::size_t capacity_;
  std::chrono::milliseconds patience_;
};

}  // namespace orv::pipe
