// For tests and benchmarks: how often the calling thread blocked waiting for a
// message and how often such a block ended (an idle loop should not wake at all).
#pragma once
#include <cstdint>

namespace orv::ui {

struct QueueStats {
  std::uint64_t waits;
  std::uint64_t wakeups;
};
QueueStats CurrentQueueStats();

}  // namespace orv::ui
