// The frame feed's loop.
#include "sim/web/frame_feed.h"

#include <chrono>
#include <thread>
#include <utility>

#include "platform/desktop/sim/watch.h"

namespace orv::web {
namespace {

constexpr int kWatchMs = 20000;
// Without a desktop the feed sleeps until told one came up; the time-out only
// covers a socket left behind by a desktop that died, which tells nobody.
constexpr auto kIdleRecheck = std::chrono::seconds(5);
// After a refused or broken watch (a desktop ending, too many watchers).
constexpr auto kRetry = std::chrono::milliseconds(500);

}  // namespace

FrameFeed::FrameFeed(FrameHandler onFrame) : shared_(std::make_shared<Shared>()) {
  shared_->onFrame = std::move(onFrame);
  std::thread(Run, shared_).detach();
}

FrameFeed::~FrameFeed() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->stopped = true;
  shared_->onFrame = nullptr;
  shared_->wake.notify_all();
}

void FrameFeed::Wake() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->woken = true;
  shared_->wake.notify_all();
}

void FrameFeed::Run(std::shared_ptr<Shared> shared) {
  std::uint64_t seen = 0;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(shared->mutex);
      if (shared->stopped) return;
      shared->woken = false;
    }
    std::uint64_t frame = 0;
    std::string png;
    const gfx::Status s = desktop::RequestWatch(seen, kWatchMs, &frame, &png);
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (shared->stopped) return;
    if (s == gfx::Ok) {
      if (png.empty()) continue;  // nothing new within the watch's time
      seen = frame;
      shared->onFrame(png);  // under the lock: the destructor waits for it
      continue;
    }
    // A new desktop numbers its frames from 1 again.
    seen = 0;
    shared->wake.wait_for(lock, s == gfx::FileNotFound ? std::chrono::duration_cast<std::chrono::milliseconds>(kIdleRecheck) : kRetry,
                          [&] { return shared->woken || shared->stopped; });
  }
}

}  // namespace orv::web
