// The desktop's frames as they change: a thread that keeps one watch open on
// the desktop (platform/desktop/sim/watch.h) and hands each new frame on. While
// no desktop runs it waits to be told that one has come up.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace orv::web {

class FrameFeed {
 public:
  using FrameHandler = std::function<void(const std::string& png)>;
  // Starts the thread; onFrame is called on it for each new frame.
  explicit FrameFeed(FrameHandler onFrame);
  FrameFeed(const FrameFeed&) = delete;
  FrameFeed& operator=(const FrameFeed&) = delete;
  // No frame is handed on once this returns; the thread ends by itself when its
  // pending watch has been answered (it holds nothing of the caller's).
  ~FrameFeed();

  // A desktop may have come up (or the watch was refused): look again now.
  void Wake();

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable wake;
    bool woken = false;
    bool stopped = false;
    FrameHandler onFrame;
  };
  static void Run(std::shared_ptr<Shared> shared);
  std::shared_ptr<Shared> shared_;
};

}  // namespace orv::web
