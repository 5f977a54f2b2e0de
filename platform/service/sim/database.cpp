// Reading and writing the service database's files.
#include "platform/service/sim/database.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "platform/home/sim/home.h"
#include "platform/pipe/sim/names.h"

namespace orv::svc::db {
namespace {

using Fields = std::map<std::string, std::string>;

bool ReadFields(const std::string& path, Fields* fields) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    auto eq = line.find('=');
    if (eq != std::string::npos) (*fields)[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return true;
}

DWORD Number(const Fields& f, const char* key) {
  auto it = f.find(key);
  return it == f.end() ? 0 : static_cast<DWORD>(std::strtoul(it->second.c_str(), nullptr, 10));
}

std::string Text(const Fields& f, const char* key) {
  auto it = f.find(key);
  return it == f.end() ? std::string() : it->second;
}

// Whole-file replacement, so a reader never sees half a record.
bool WriteFileAtomically(const std::string& path, const std::string& content) {
  std::ostringstream tmp;
  tmp << path << ".tmp." << getpid() << "." << std::this_thread::get_id();
  {
    std::ofstream out(tmp.str(), std::ios::trunc);
    out << content;
    if (!out.flush()) return false;
  }
  if (std::rename(tmp.str().c_str(), path.c_str()) != 0) {
    std::remove(tmp.str().c_str());
    return false;
  }
  return true;
}

bool OneLine(const std::string& s) { return s.find('\n') == std::string::npos; }

}  // namespace

std::string Root() {
  std::string root = orv::home::Path("services");
  orv::home::MakeDirs(root);
  return root;
}

std::string Folder(const std::string& name) { return Root() + "/" + orv::pipe::FileKey(name); }
std::string ControlSocket(const std::string& name) { return Folder(name) + "/control"; }

bool ReadConfig(const std::string& name, Config* config) {
  Fields f;
  if (!ReadFields(Folder(name) + "/config", &f)) return false;
  config->name = Text(f, "name");
  config->displayName = Text(f, "display");
  config->serviceType = Number(f, "type");
  config->startType = Number(f, "start");
  config->errorControl = Number(f, "error");
  config->binaryPath = Text(f, "path");
  return !config->name.empty();
}

bool WriteConfig(const Config& c) {
  if (!OneLine(c.name) || !OneLine(c.displayName) || !OneLine(c.binaryPath)) return false;
  if (!orv::home::MakeDirs(Folder(c.name))) return false;
  std::ostringstream out;
  out << "name=" << c.name << "\ndisplay=" << c.displayName << "\ntype=" << c.serviceType
      << "\nstart=" << c.startType << "\nerror=" << c.errorControl << "\npath=" << c.binaryPath << "\n";
  return WriteFileAtomically(Folder(c.name) + "/config", out.str());
}

std::vector<std::string> AllServices() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Root(), ec)) {
    Fields f;
    if (ReadFields(entry.path().string() + "/config", &f) && !Text(f, "name").empty()) {
      names.push_back(Text(f, "name"));
    }
  }
  return names;
}

bool MarkedForDelete(const std::string& name) { return access((Folder(name) + "/deleted").c_str(), F_OK) == 0; }

bool MarkForDelete(const std::string& name) { return WriteFileAtomically(Folder(name) + "/deleted", "1\n"); }

void Remove(const std::string& name) {
  std::error_code ec;
  std::filesystem::remove_all(Folder(name), ec);
}

int SelfPid() { return getpid(); }

unsigned long long StartTimeOf(int pid) {
  if (pid <= 0) return 0;
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return 0;
  // Field 22 counts from after the command name, which may itself hold blanks.
  auto close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(stat.substr(close + 2));
  std::string field;
  char state = 0;
  rest >> state;
  if (state == 'Z' || state == 'X') return 0;  // a process that has ended
  for (int i = 4; i <= 22 && rest >> field; ++i) {
    if (i == 22) return std::strtoull(field.c_str(), nullptr, 10);
  }
  return 0;
}

Status ReadRecord(const std::string& name) {
  Status s;
  Fields f;
  if (!ReadFields(Folder(name) + "/status", &f)) return s;
  s.status.dwServiceType = Number(f, "type");
  s.status.dwCurrentState = Number(f, "state");
  s.status.dwControlsAccepted = Number(f, "controls");
  s.status.dwWin32ExitCode = Number(f, "exit");
  s.status.dwServiceSpecificExitCode = Number(f, "specific");
  s.status.dwCheckPoint = Number(f, "checkpoint");
  s.status.dwWaitHint = Number(f, "wait");
  s.pid = static_cast<int>(Number(f, "pid"));
  s.startTime = std::strtoull(Text(f, "started").c_str(), nullptr, 10);
  return s;
}

Status ReadStatus(const std::string& name) {
  Status s = ReadRecord(name);
  if (s.status.dwCurrentState != SERVICE_STOPPED && StartTimeOf(s.pid) != s.startTime) {
    s.status = SERVICE_STATUS{SERVICE_WIN32_OWN_PROCESS, SERVICE_STOPPED, 0, ERROR_PROCESS_ABORTED, 0, 0, 0};
    s.pid = 0;
    WriteStatus(name, s);
  }
  if (s.status.dwCurrentState == SERVICE_STOPPED && MarkedForDelete(name)) Remove(name);
  return s;
}

bool WriteStatus(const std::string& name, const Status& s) {
  std::ostringstream out;
  out << "type=" << s.status.dwServiceType << "\nstate=" << s.status.dwCurrentState
      << "\ncontrols=" << s.status.dwControlsAccepted << "\nexit=" << s.status.dwWin32ExitCode
      << "\nspecific=" << s.status.dwServiceSpecificExitCode << "\ncheckpoint=" << s.status.dwCheckPoint
      << "\nwait=" << s.status.dwWaitHint << "\npid=" << s.pid << "\nstarted=" << s.startTime << "\n";
  return WriteFileAtomically(Folder(name) + "/status", out.str());
}

bool ReadFailureActions(const std::string& name, FailureActions* out) {
  *out = FailureActions();
  Fields f;
  if (!ReadFields(Folder(name) + "/recovery", &f)) return false;
  out->resetPeriod = Number(f, "reset");
  out->rebootMessage = Text(f, "reboot");
  out->command = Text(f, "command");
  std::istringstream list(Text(f, "actions"));
  std::string item;
  while (std::getline(list, item, ',')) {
    auto colon = item.find(':');
    if (colon == std::string::npos) continue;
    SC_ACTION action{};
    const unsigned long type = std::strtoul(item.c_str(), nullptr, 10);
    action.Type = type <= SC_ACTION_RUN_COMMAND ? static_cast<SC_ACTION_TYPE>(type) : SC_ACTION_NONE;
    action.Delay = static_cast<DWORD>(std::strtoul(item.c_str() + colon + 1, nullptr, 10));
    out->actions.push_back(action);
  }
  return true;
}

bool WriteFailureActions(const std::string& name, const FailureActions& a) {
  if (!OneLine(a.rebootMessage) || !OneLine(a.command)) return false;
  std::ostringstream out;
  out << "reset=" << a.resetPeriod << "\nreboot=" << a.rebootMessage << "\ncommand=" << a.command << "\nactions=";
  for (std::size_t i = 0; i < a.actions.size(); ++i) {
    out << (i ? "," : "") << static_cast<unsigned>(a.actions[i].Type) << ':' << a.actions[i].Delay;
  }
  out << "\n";
  return WriteFileAtomically(Folder(name) + "/recovery", out.str());
}

Failures ReadFailures(const std::string& name) {
  Failures failures;
  Fields f;
  if (!ReadFields(Folder(name) + "/failures", &f)) return failures;
  failures.count = Number(f, "count");
  failures.lastTime = std::strtoll(Text(f, "last").c_str(), nullptr, 10);
  return failures;
}

bool WriteFailures(const std::string& name, const Failures& failures) {
  std::ostringstream out;
  out << "count=" << failures.count << "\nlast=" << failures.lastTime << "\n";
  return WriteFileAtomically(Folder(name) + "/failures", out.str());
}

bool WriteStartArgs(const std::string& name, DWORD argc, const char** argv) {
  std::string content;
  for (DWORD i = 0; i < argc; ++i) {
    if (!argv[i] || !OneLine(argv[i])) return false;
    content += argv[i];
    content += '\n';
  }
  return WriteFileAtomically(Folder(name) + "/start-args", content);
}

std::vector<std::string> ReadStartArgs(const std::string& name) {
  std::vector<std::string> args;
  std::ifstream in(Folder(name) + "/start-args");
  std::string line;
  while (std::getline(in, line)) args.push_back(line);
  return args;
}

}  // namespace orv::svc::db
