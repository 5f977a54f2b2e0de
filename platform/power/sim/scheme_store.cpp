// The scheme store's file: "active={GUID}" and one tab-separated line per scheme
// (GUID, name, description, settings), read strictly.
#include "platform/power/sim/scheme_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "platform/base/sim/guid_text.h"
#include "platform/fs/sim/atomic.h"
#include "platform/home/sim/home.h"

namespace orv::power {
namespace {

// {381B4222-F694-41F0-9685-FF5BB260DF2E}, {8C5E7FDA-E8BF-4A96-9A85-A6E23A8C635C},
// {A1841308-3541-4FAB-BC81-F71556F20B4A}: the system's own schemes.
constexpr GUID kBalanced = {0x381B4222, 0xF694, 0x41F0, {0x96, 0x85, 0xFF, 0x5B, 0xB2, 0x60, 0xDF, 0x2E}};
constexpr GUID kHighPerformance = {0x8C5E7FDA, 0xE8BF, 0x4A96, {0x9A, 0x85, 0xA6, 0xE2, 0x3A, 0x8C, 0x63, 0x5C}};
constexpr GUID kPowerSaver = {0xA1841308, 0x3541, 0x4FAB, {0xBC, 0x81, 0xF7, 0x15, 0x56, 0xF2, 0x0B, 0x4A}};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

std::string StorePath() {
  const std::string dir = home::Path("power");
  home::MakeDirs(dir);
  return dir + "/schemes";
}

// Reads the store file (the lock is held); the system's schemes when there is none.
SchemeStore Load(const std::string& path) {
  std::string text, error;
  bool missing = false;
  SchemeStore store = SystemSchemes();
  if (!fs::ReadWholeFile(path, &text, &error, &missing)) {
    if (!missing) std::fprintf(stderr, "power: the scheme store %s cannot be read (%s)\n", path.c_str(), error.c_str());
    return store;
  }
  if (ParseSchemes(text, &store, &error)) return store;
  const std::string aside = path + ".damaged";
  const bool kept = std::rename(path.c_str(), aside.c_str()) == 0;
  std::fprintf(stderr, "power: the scheme store %s is damaged (%s); the system's schemes take its place%s\n",
               path.c_str(), error.c_str(), kept ? (", the damaged file is kept as " + aside).c_str() : "");
  return SystemSchemes();
}

}  // namespace

const InstalledScheme* SchemeStore::Find(const GUID& guid) const {
  for (const InstalledScheme& s : schemes)
    if (s.guid == guid) return &s;
  return nullptr;
}

void SchemeStore::Add(const GUID& guid, const SchemeDefinition& definition) {
  auto key = [](const GUID& g) {
    std::string t = base::GuidText(g);
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return t;
  };
  auto at = std::find_if(schemes.begin(), schemes.end(), [&](const InstalledScheme& s) { return key(s.guid) > key(guid); });
  schemes.insert(at, InstalledScheme{guid, definition});
}

bool SchemeStore::Remove(const GUID& guid) {
  auto it = std::find_if(schemes.begin(), schemes.end(), [&](const InstalledScheme& s) { return s.guid == guid; });
  if (it == schemes.end()) return false;
  schemes.erase(it);
  return true;
}

SchemeStore SystemSchemes() {
  SchemeStore store;
  store.active = kBalanced;
  SchemeSettings balanced;
  SchemeSettings high;
  high.acDisplayOff = 15, high.dcDisplayOff = 10, high.acSleep = 0, high.dcSleep = 60, high.dcBrightness = 100;
  SchemeSettings saver;
  saver.acDisplayOff = 5, saver.dcDisplayOff = 3, saver.acSleep = 15, saver.dcSleep = 10, saver.dcProcessorMax = 50;
  saver.acBrightness = 70, saver.dcBrightness = 40;
  store.Add(kBalanced, {"Balanced", "Automatically balances performance with energy consumption on capable hardware.",
                        balanced});
  store.Add(kHighPerformance, {"High performance", "Favors performance, but may use more energy.", high});
  store.Add(kPowerSaver, {"Power saver", "Saves energy by reducing your computer's performance where possible.", saver});
  return store;
}

std::string SerializeSchemes(const SchemeStore& store) {
  std::string out = "# Power schemes of the simulated system: the active one, then one line each\n";
  out += "active=" + base::GuidText(store.active) + "\n";
  for (const InstalledScheme& s : store.schemes)
    out += "scheme\t" + base::GuidText(s.guid) + "\t" + s.definition.name + "\t" + s.definition.description + "\t" +
           SettingsWords(s.definition.settings) + "\n";
  return out;
}

bool ParseSchemes(const std::string& text, SchemeStore* out, std::string* error) {
  SchemeStore store;
  bool haveActive = false;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  auto fail = [&](const std::string& why) { return *error = "line " + std::to_string(lineNo) + ": " + why, false; };
  while (std::getline(in, line)) {
    ++lineNo;
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("active=", 0) == 0) {
      if (haveActive || !base::ParseGuid(line.substr(7), &store.active)) return fail("bad or repeated active scheme");
      haveActive = true;
      continue;
    }
    const std::vector<std::string> f = SplitTabs(line);
    InstalledScheme s;
    std::string why;
    if (f.size() != 5 || f[0] != "scheme" || !base::ParseGuid(f[1], &s.guid)) return fail("not a scheme line");
    if (!ValidSchemeText(f[2], 64, false) || !ValidSchemeText(f[3], 256, true)) return fail("bad name or description");
    if (!ParseSettingsWords(f[4], &s.definition.settings, &why)) return fail(why);
    if (store.Find(s.guid)) return fail("scheme " + f[1] + " given twice");
    s.definition.name = f[2];
    s.definition.description = f[3];
    store.Add(s.guid, s.definition);
  }
  if (!haveActive || !store.Find(store.active)) return *error = "no active scheme among the schemes", false;
  *out = std::move(store);
  return true;
}

DWORD WithSchemeStore(bool save, const std::function<DWORD(SchemeStore&)>& change) {
  const std::string path = StorePath();
  fs::FileLock lock(path);
  if (!lock.held()) return ERROR_ACCESS_DENIED;
  SchemeStore store = Load(path);
  const DWORD result = change(store);
  if (result != ERROR_SUCCESS || !save) return result;
  std::string error;
  // Schemes are the system's settings on its disk: they survive a power loss.
  if (!fs::WriteFileAtomic(path, SerializeSchemes(store), &error)) {
    std::fprintf(stderr, "power: the scheme store %s cannot be written (%s)\n", path.c_str(), error.c_str());
    return ERROR_WRITE_FAULT;
  }
  return ERROR_SUCCESS;
}

std::string DescribeSchemes(const SchemeStore& store) {
  const InstalledScheme* active = store.Find(store.active);
  std::string out = "Power schemes   " + std::to_string(store.schemes.size()) + " installed, active: " +
                    (active ? active->definition.name : std::string("?")) + "\n";
  for (const InstalledScheme& s : store.schemes)
    out += std::string(s.guid == store.active ? "  * " : "    ") + base::GuidText(s.guid) + " " +
           s.definition.name + "\n";
  return out;
}

}  // namespace orv::power
