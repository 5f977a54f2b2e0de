// bench_tray: figures of the tray program on the simulated notebook, in a state
// folder of its own with the provider and the service running:
//   - key press in the provider to the OSD's new picture on the desktop (median,
//     p99); the same for a raised event that changes no state (a key press also
//     has the provider store its state first); a volume change of the notebook's
//     default audio endpoint to the level OSD's new picture (through Core Audio's
//     notification to the program); each beside a bare control round trip to the
//     provider in the same run, as a ratio;
//   - start-up time (program start to its desktop answering, announced to the firmware);
//   - resident memory after start-up and after the key presses;
//   - idle wake-ups per second (context switches of all its threads while idle).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop/sim/frame_server.h"
#include "sim/launcher.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string BinDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

int Spawn(const std::vector<std::string>& argv, bool quiet) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int RunToEnd(const std::vector<std::string>& argv) {
  int pid = Spawn(argv, true), status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  std::size_t i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

// The layered windows at the first icon slot (bottom right) that have been given
// contents (an icon display, the level display): how many times each was given
// them, and which are visible.
struct SlotWindows {
  std::map<std::uintptr_t, std::uint64_t> generation;
  std::map<std::uintptr_t, bool> visible;
};

bool FirstSlot(SlotWindows* out) {
  std::vector<orv::desktop::DesktopWindow> windows;
  if (orv::desktop::RequestWindows(&windows, 2000) != orv::gfx::Ok) return false;
  *out = SlotWindows();
  for (const auto& w : windows)
    if (w.generation > 0 && w.rect.right > 1100 && w.rect.bottom > 700 && w.rect.bottom <= 770) {
      out->generation[w.id] = w.generation;
      out->visible[w.id] = w.visible;
    }
  return true;
}

// True when one of the windows shows contents it did not have before.
bool NewPictureShown(const SlotWindows& before, const SlotWindows& now) {
  for (const auto& [id, generation] : now.generation) {
    auto was = before.generation.find(id);
    if ((was == before.generation.end() || was->second != generation) && now.visible.at(id)) return true;
  }
  return false;
}

// Milliseconds from each control command to a first-slot window showing new contents.
template <class Words>
std::vector<double> ToNewPicture(int count, Words words) {
  std::vector<double> out;
  for (int i = 0; i < count; ++i) {
    SlotWindows before, now;
    FirstSlot(&before);
    int code;
    std::string text;
    auto t0 = Clock::now();
    orv::sim::SendControl(words(i), &code, &text);
    auto deadline = t0 + std::chrono::seconds(2);
    bool seen = false;
    while (Clock::now() < deadline && FirstSlot(&now) && !(seen = NewPictureShown(before, now))) {
    }
    if (seen) out.push_back(Ms(Clock::now() - t0));
  }
  return out;
}

long ResidentKb(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  long value = 0;
  while (in >> key) {
    if (key == "VmRSS:") {
      in >> value;
      return value;
    }
    in.ignore(4096, '\n');
  }
  return -1;
}

long ContextSwitches(int pid) {
  long total = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream in(task.path() / "status");
    std::string key;
    long value = 0;
    while (in >> key) {
      if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
        in >> value;
        total += value;
      } else {
        in.ignore(4096, '\n');
      }
    }
  }
  return total;
}

bool WaitUp(int pid) {
  for (int i = 0; i < 4000; ++i) {
    std::vector<orv::desktop::DesktopWindow> windows;
    if (orv::desktop::RequestWindows(&windows, 1000) == orv::gfx::Ok) return true;
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return false;
}

void Stop(int pid) {
  kill(pid, SIGTERM);
  int status;
  waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const int presses = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
  char templ[] = "/tmp/orvbenchXXXXXX";
  if (!mkdtemp(templ)) return 1;
  const std::string home = templ;
  setenv("ORV_HOME", home.c_str(), 1);
  setenv("ORV_SCREEN", "1280x800", 1);
  setenv("ORV_TASKBAR", "bottom:30", 1);
  const std::string bin = BinDir();
  std::string message;
  if (!orv::sim::StartProvider(&message)) {
    std::fprintf(stderr, "bench_tray: %s", message.c_str());
    return 1;
  }
  RunToEnd({bin + "/OrvService", "-install"});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  // Start-up with the service already running.
  std::vector<double> startups;
  for (int i = 0; i < 5; ++i) {
    auto t0 = Clock::now();
    int pid = Spawn({bin + "/Calvex"}, true);
    if (!WaitUp(pid)) {
      std::fprintf(stderr, "bench_tray: Calvex did not come up\n");
      return 1;
    }
    startups.push_back(Ms(Clock::now() - t0));
    Stop(pid);
  }

  int pid = Spawn({bin + "/Calvex"}, true);
  if (!WaitUp(pid)) return 1;
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // past the main window's hiding
  const long rssStart = ResidentKb(pid);

  // Idle: nothing happens for three seconds.
  const long switchesBefore = ContextSwitches(pid);
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double idleWakeups = static_cast<double>(ContextSwitches(pid) - switchesBefore) / 3.0;

  // A bare control round trip to the provider, for scale.
  std::vector<double> bare;
  for (int i = 0; i < presses; ++i) {
    int code;
    std::string text;
    auto t0 = Clock::now();
    orv::sim::SendControl({"status"}, &code, &text);
    bare.push_back(Ms(Clock::now() - t0));
  }
  // A volume change to the level OSD's new picture: 40 % and 60 % in turn, so each
  // one draws anew.
  std::vector<double> volume = ToNewPicture(presses, [](int i) {
    return std::vector<std::string>{"volume", "set", i % 2 ? "40" : "60"};
  });
  // Key press to the new picture: every webcam press toggles, so each one draws anew.
  std::vector<double> pressed = ToNewPicture(presses, [](int) { return std::vector<std::string>{"press", "webcam"}; });
  // The webcam's event with its state byte, on and off in turn, raised without a state change.
  std::vector<double> raised = ToNewPicture(presses, [](int i) {
    return std::vector<std::string>{"raw", "event", i % 2 ? "0x0257" : "0x0057"};
  });
  const long rssAfter = ResidentKb(pid);
  Stop(pid);
  RunToEnd({bin + "/OrvService", "-remove"});
  orv::sim::StopProvider(&message);
  std::filesystem::remove_all(home);

  std::printf("tray start-up with the service running: median %.1f ms (5 starts)\n", Percentile(startups, 0.5));
  std::printf("key press to OSD on the desktop: median %.3f ms, p99 %.3f ms (%zu of %d seen; goal < 5 ms)\n",
              Percentile(pressed, 0.5), Percentile(pressed, 0.99), pressed.size(), presses);
  std::printf("raised event to OSD on the desktop: median %.3f ms, p99 %.3f ms (%zu of %d seen)\n",
              Percentile(raised, 0.5), Percentile(raised, 0.99), raised.size(), presses);
  const double scale = std::max(Percentile(bare, 0.5), 1e-6);
  std::printf("bare control round trip to the provider: median %.3f ms; press / round trip = %.1f, "
              "raised event / round trip = %.1f\n",
              Percentile(bare, 0.5), Percentile(pressed, 0.5) / scale, Percentile(raised, 0.5) / scale);
  std::printf("volume change to the level OSD on the desktop: median %.3f ms, p99 %.3f ms (%zu of %d seen); "
              "volume change / round trip = %.1f\n",
              Percentile(volume, 0.5), Percentile(volume, 0.99), volume.size(), presses,
              Percentile(volume, 0.5) / scale);
  std::printf("resident memory: %ld kB after start-up, %ld kB after %d presses\n", rssStart, rssAfter, presses);
  std::printf("idle wake-ups: %.1f per second (context switches of all threads)\n", idleWakeups);
  return pressed.empty() || raised.empty() || volume.empty() ? 1 : 0;
}
