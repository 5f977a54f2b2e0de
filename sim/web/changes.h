// What the server learns without asking: inotify on the state folder (the
// desktop's socket appearing), on the firmware's folder (its state file replaced
// after each change) and on the folder of the tray's log (the log written). Each
// kind is told on the watch's own thread, a burst of events once.
#pragma once
#include <functional>
#include <string>
#include <thread>

#include "platform/base/sim/unique_fd.h"

namespace orv::web {

struct ChangeFiles {
  std::string desktopSocket;  // host paths
  std::string firmwareState;
  std::string log;
};

struct ChangeHandlers {
  std::function<void()> desktop, firmware, log;
};

class ChangeWatch {
 public:
  ChangeWatch() = default;
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;
  ~ChangeWatch() { Stop(); }

  // Creates the folders when missing (the programs create them too); false with
  // the reason when inotify refuses.
  bool Start(const ChangeFiles& files, ChangeHandlers handlers, std::string* error);
  void Stop();

 private:
  void Run();

  ChangeFiles files_;
  ChangeHandlers handlers_;
  sim::unique_fd inotify_;
  sim::unique_fd wakeRead_, wakeWrite_;
  int desktopDir_ = -1, firmwareDir_ = -1, logDir_ = -1;
  std::thread thread_;
};

}  // namespace orv::web
