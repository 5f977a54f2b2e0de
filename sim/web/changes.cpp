// The inotify loop of the change watch.
#include "sim/web/changes.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/home/sim/home.h"

namespace orv::web {
namespace {

std::string Folder(const std::string& path) { return path.substr(0, path.rfind('/')); }
std::string Name(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

bool ChangeWatch::Start(const ChangeFiles& files, ChangeHandlers handlers, std::string* error) {
  files_ = files;
  handlers_ = std::move(handlers);
  inotify_.reset(inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
  int wake[2] = {-1, -1};
  const bool piped = pipe2(wake, O_CLOEXEC) == 0;
  wakeRead_.reset(wake[0]);
  wakeWrite_.reset(wake[1]);
  if (!inotify_ || !piped) {
    *error = std::string("cannot watch the state folder: ") + std::strerror(errno);
    return false;
  }
  const uint32_t kWritten = IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY;
  int* wds[] = {&desktopDir_, &firmwareDir_, &logDir_};
  const std::string* paths[] = {&files_.desktopSocket, &files_.firmwareState, &files_.log};
  for (int i = 0; i < 3; ++i) {
    const std::string folder = Folder(*paths[i]);
    home::MakeDirs(folder);
    *wds[i] = inotify_add_watch(inotify_.get(), folder.c_str(), kWritten);
    if (*wds[i] < 0) {
      *error = "cannot watch " + folder + ": " + std::strerror(errno);
      return false;
    }
  }
  thread_ = std::thread(&ChangeWatch::Run, this);
  return true;
}

void ChangeWatch::Stop() {
  if (thread_.joinable()) {
    const char byte = 1;
    ssize_t written = ::write(wakeWrite_.get(), &byte, 1);  // one byte into an empty pipe always fits
    (void)written;
    thread_.join();
  }
  inotify_.reset();
  wakeRead_.reset();
  wakeWrite_.reset();
}

void ChangeWatch::Run() {
  const std::string desktopName = Name(files_.desktopSocket), firmwareName = Name(files_.firmwareState),
                    logName = Name(files_.log);
  for (;;) {
    pollfd p[2] = {{inotify_.get(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (p[1].revents) return;
    bool desktop = false, firmware = false, log = false;
    alignas(inotify_event) char buffer[8192];
    ssize_t n;
    while ((n = ::read(inotify_.get(), buffer, sizeof buffer)) > 0) {
      for (char* at = buffer; at < buffer + n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(at);
        const std::string name = e->len ? std::string(e->name) : std::string();
        desktop |= e->wd == desktopDir_ && name == desktopName && (e->mask & IN_CREATE);
        firmware |= e->wd == firmwareDir_ && name == firmwareName;
        log |= e->wd == logDir_ && name == logName;
        at += sizeof(inotify_event) + e->len;
      }
    }
    if (desktop && handlers_.desktop) handlers_.desktop();
    if (firmware && handlers_.firmware) handlers_.firmware();
    if (log && handlers_.log) handlers_.log();
  }
}

}  // namespace orv::web
