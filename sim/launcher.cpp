// Starting the provider as a daemon and talking to it as its controller.
#include "sim/launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/home/sim/home.h"
#include "platform/wmi/sim/channel.h"
#include "platform/wmi/sim/wire.h"

namespace orv::sim {
namespace {

constexpr auto kStartWait = std::chrono::seconds(10);
constexpr int kReplyMs = 10000;

std::string SelfDir() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string self(buf, static_cast<std::size_t>(n));
  return self.substr(0, self.find_last_of('/'));
}

bool WaitUntil(bool running, std::chrono::milliseconds limit, pid_t child) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (ProviderRunning() == running) return true;
    int status;
    if (child > 0 && waitpid(child, &status, WNOHANG) == child) {
      child = -1;  // it ended: either it failed or another provider won the race
      if (!ProviderRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      return ProviderRunning() == running;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

bool ProviderRunning() {
  wmi::Channel ch;
  if (!ch.Connect(wmi::ProviderSocketPath())) return false;
  wmi::wire::Writer w;
  w.U8(static_cast<std::uint8_t>(wmi::wire::Op::Hello));
  w.Str("root\\WMI");
  std::string reply;
  return ch.Call(w.Body(), &reply, kReplyMs);
}

bool StartProvider(std::string* message) {
  if (ProviderRunning()) { *message = "orv-firmware is already running\n"; return true; }
  std::string program = SelfDir() + "/orv-firmware";
  std::string log = home::Path("wmi");
  home::MakeDirs(log);
  log += "/firmware.log";
  pid_t pid = fork();
  if (pid < 0) { *message = "cannot start orv-firmware\n"; return false; }
  if (pid == 0) {
    setsid();
    int in = open("/dev/null", O_RDONLY);
    int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (in >= 0) dup2(in, 0);
    if (out >= 0) { dup2(out, 1); dup2(out, 2); }
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (!WaitUntil(true, kStartWait, pid)) {
    *message = "orv-firmware did not start; see " + log + "\n";
    return false;
  }
  *message = "orv-firmware started\n";
  return true;
}

bool StopProvider(std::string* message) {
  if (!ProviderRunning()) { *message = "orv-firmware is not running\n"; return true; }
  int code = 0;
  std::string text;
  SendControl({"stop"}, &code, &text);
  if (!WaitUntil(false, kStartWait, -1)) { *message = "orv-firmware did not stop\n"; return false; }
  *message = "orv-firmware stopped\n";
  return true;
}

bool SendControl(const std::vector<std::string>& words, int* code, std::string* text) {
  wmi::Channel ch;
  if (!ch.Connect(wmi::ProviderSocketPath())) return false;
  wmi::wire::Writer w;
  w.U8(static_cast<std::uint8_t>(wmi::wire::Op::Control));
  w.Str("");
  w.U32(static_cast<std::uint32_t>(words.size()));
  for (auto& word : words) w.Str(word);
  std::string reply;
  if (!ch.Call(w.Body(), &reply, kReplyMs)) return false;
  wmi::wire::Reader r(reply);
  *code = static_cast<int>(r.U32());
  *text = r.Str();
  return r.ok();
}

}  // namespace orv::sim
