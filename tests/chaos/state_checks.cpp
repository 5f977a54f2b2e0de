// Process lists from /proc and the wholeness of the state folder's files.
#include "tests/chaos/state_checks.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <windows.h>

#include "library/OrvWmiAcpi.h"
#include "platform/base/unique_handle.h"
#include "platform/home/sim/home.h"
#include "platform/registry/sim/hive.h"
#include "sim/state.h"
#include "tests/support/process.h"

namespace chaostest {
namespace {

bool RunsOnThisHome(int pid, const std::string& name, const std::string& home) {
  const std::string proc = "/proc/" + std::to_string(pid);
  char exe[4096];
  ssize_t n = readlink((proc + "/exe").c_str(), exe, sizeof exe - 1);
  if (n <= 0) return false;
  std::string path(exe, static_cast<std::size_t>(n));
  if (path.substr(path.find_last_of('/') + 1) != name) return false;
  std::string stat = orv::test::ReadFile(proc + "/stat");
  auto close = stat.rfind(')');
  if (close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z') return false;
  std::istringstream env(orv::test::ReadFile(proc + "/environ"));
  std::string var;
  while (std::getline(env, var, '\0'))
    if (var == "ORV_HOME=" + home) return true;
  return false;
}

// "<n>:" + padding + ":<n>": a value written whole.
bool WholeValue(const std::string& text) {
  auto first = text.find(':'), last = text.rfind(':');
  return first != std::string::npos && first != last && text.size() == first + 3000 + 2 + first &&
         text.compare(0, first, text, last + 1, std::string::npos) == 0;
}

// The settings writer's value as the registry holds it; empty when there is none.
std::string RegistryValue() {
  orv::unique_hkey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orv\\Chaos", 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return "";
  char value[8192] = {};
  DWORD size = sizeof value - 1;
  return RegQueryValueExA(key.get(), "Text", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS
             ? value
             : "";
}

// The settings writer's value as the profile holds it; empty when there is none.
std::string ProfileValue() {
  char value[8192] = {};
  GetPrivateProfileStringA("Chaos", "Text", "", value, sizeof value, "C:\\chaos.ini");
  return value;
}

long PairNumber(const std::string& value) {
  return WholeValue(value) ? std::atol(value.c_str()) : -1;
}

}  // namespace

std::vector<int> RunningPrograms(const std::string& name) {
  std::vector<int> pids;
  const char* home = std::getenv("ORV_HOME");
  DIR* proc = opendir("/proc");
  if (!proc || !home) return pids;
  while (dirent* e = readdir(proc)) {
    int pid = std::atoi(e->d_name);
    if (pid > 0 && RunsOnThisHome(pid, name, home)) pids.push_back(pid);
  }
  closedir(proc);
  return pids;
}

std::string AskService(const std::string& command) {
  char request[80] = {};
  command.copy(request, sizeof request - 1);
  char reply[800] = {};
  return Orv_CallNamePipe(request, sizeof request, reply, sizeof reply) ? reply : "";
}

std::vector<std::string> TornFiles() {
  std::vector<std::string> torn;
  std::error_code ec;
  for (const char* folder : {"registry", "wmi", "drive_c"}) {
    for (auto& e : std::filesystem::directory_iterator(orv::home::Path(folder), ec)) {
      const std::string file = e.path().filename().string();
      if (file.find(".damaged") != std::string::npos) torn.push_back(e.path().string() + " was set aside as damaged");
      if (file.size() > 4 && file.compare(file.size() - 4, 4, ".reg") == 0) {
        orv::reg::Hive hive;
        std::string problem;
        if (!orv::reg::Hive::Parse(orv::test::ReadFile(e.path().string()), &hive, &problem)) {
          torn.push_back(e.path().string() + ": " + problem);
        }
      }
    }
  }
  const std::string statePath = orv::home::Path("wmi/firmware.state");
  if (std::filesystem::exists(statePath)) {
    const std::string text = orv::test::ReadFile(statePath);
    orv::sim::EcState state;
    std::string problem;
    if (!orv::sim::Parse(text, &state, &problem)) torn.push_back(statePath + ": " + problem);
    else if (orv::sim::Serialize(state) != text) torn.push_back(statePath + " is not whole:\n" + text);
  }
  const std::string registry = RegistryValue(), profile = ProfileValue();
  if (!registry.empty() && !WholeValue(registry)) torn.push_back("registry value Text: " + registry);
  if (!profile.empty() && !WholeValue(profile)) torn.push_back("profile value Text: " + profile);
  return torn;
}

WrittenPair LastWrittenPair() { return {PairNumber(RegistryValue()), PairNumber(ProfileValue())}; }

long LastReportedPair(orv::test::Child& writer) {
  const std::string out = writer.Output();
  const auto end = out.rfind('\n');
  if (end == std::string::npos) return -1;
  const auto start = out.rfind('\n', end - 1);
  return std::atol(out.c_str() + (start == std::string::npos ? 0 : start + 1));
}

std::size_t WrittenPairs(orv::test::Child& writer) {
  const std::string out = writer.Output();
  return static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n'));
}

}  // namespace chaostest
