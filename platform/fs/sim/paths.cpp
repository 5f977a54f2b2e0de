// Resolution of Windows paths onto host files, with 8.3 short names. Short names
// are derived from the folder's listing: the names that need one get the first six
// valid characters, "~N" and up to three extension characters, N counting up in
// the order of the long names. They stay the same as long as the folder's set of
// clashing names does.
#include "platform/fs/sim/paths.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

#include "platform/home/sim/home.h"

namespace orv::fs {
namespace {

constexpr const char* kDefaultProgramFolder = "C:\\Program Files\\Orv\\Calvex";

std::string Upper(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool Valid83Char(char c) {
  auto u = static_cast<unsigned char>(c);
  if (std::isalnum(u)) return true;
  return std::string("!#$%&'()-@^_`{}~").find(c) != std::string::npos;
}

struct Parsed {
  bool valid = false;
  char drive = 'C';
  std::vector<std::string> parts;
  bool trailingSlash = false;
};

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

Parsed Parse(const std::string& path) {
  Parsed p;
  if (path.empty()) return p;
  std::string rest = path;
  std::vector<std::string> base;
  if (rest.size() >= 2 && rest[1] == ':') {
    if (!std::isalpha(static_cast<unsigned char>(rest[0]))) return p;
    p.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    rest = rest.substr(2);
  } else if (rest.size() >= 2 && (rest[0] == '\\' || rest[0] == '/') && (rest[1] == '\\' || rest[1] == '/')) {
    return p;  // UNC and device paths have no place here
  } else if (rest[0] == '\\' || rest[0] == '/') {
    p.drive = ProgramFolderWindows()[0];
  } else {
    Parsed folder = Parse(ProgramFolderWindows());
    p.drive = folder.drive;
    base = folder.parts;
  }
  p.trailingSlash = !rest.empty() && (rest.back() == '\\' || rest.back() == '/');
  for (auto& part : Split(rest)) {
    // Windows drops trailing dots and blanks of a component.
    while (!part.empty() && (part.back() == '.' || part.back() == ' ') && part != "." && part != "..") part.pop_back();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!base.empty()) base.pop_back();
      continue;
    }
    if (part.find_first_of("<>:\"|?*") != std::string::npos) return p;
    base.push_back(part);
  }
  p.parts = base;
  p.valid = true;
  return p;
}

bool StatPath(const std::string& host, bool* isDir) {
  struct stat st {};
  if (stat(host.c_str(), &st) != 0) return false;
  if (isDir) *isDir = S_ISDIR(st.st_mode);
  return true;
}

std::string DriveRoot(char drive) {
  char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(drive)));
  std::string root = orv::home::Path(std::string("drive_") + letter);
  orv::home::MakeDirs(root);  // a drive's root always exists
  return root;
}

// The raw entries of a Windows folder before short names are given.
struct RawEntry {
  std::string name;
  std::string host;
  bool isDirectory;
  bool isVirtual;  // a folder on the way to the program folder, not on the host
};

void AddRealEntries(const std::string& hostDir, std::vector<RawEntry>* out) {
  DIR* dir = opendir(hostDir.c_str());
  if (!dir) return;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    bool isDir = e->d_type == DT_DIR;
    std::string host = hostDir + "/" + name;
    // The listing's own type spares a look at each file; links and file
    // systems that give no type are looked at (a broken link is no entry).
    if (e->d_type != DT_DIR && e->d_type != DT_REG && !StatPath(host, &isDir)) continue;
    out->push_back(RawEntry{name, host, isDir, false});
  }
  closedir(dir);
}

void GiveShortNames(std::vector<RawEntry>& raw, std::vector<FolderEntry>* out) {
  std::sort(raw.begin(), raw.end(), [](const RawEntry& a, const RawEntry& b) { return Upper(a.name) < Upper(b.name); });
  std::map<std::string, bool> taken;  // short names in use, upper case
  for (auto& r : raw) if (IsShortName(r.name)) taken[Upper(r.name)] = true;
  std::map<std::string, int> counters;
  for (auto& r : raw) {
    FolderEntry e{r.name, r.name, r.host, r.isDirectory, r.isVirtual};
    if (!IsShortName(r.name)) {
      std::string name = r.name;
      while (!name.empty() && name[0] == '.') name.erase(0, 1);
      auto dot = name.find_last_of('.');
      std::string base = dot == std::string::npos ? name : name.substr(0, dot);
      std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
      auto clean = [](const std::string& s, std::size_t max) {
        std::string o;
        for (char c : s) {
          if (c == ' ' || c == '.') continue;
          o += Valid83Char(c) ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : '_';
          if (o.size() == max) break;
        }
        return o;
      };
      std::string stem = clean(base, 6);
      std::string suffix = clean(ext, 3);
      std::string candidate;
      int& n = counters[stem + "." + suffix];
      do {
        ++n;
        std::string number = "~" + std::to_string(n);
        candidate = stem.substr(0, std::min(stem.size(), 8 - number.size())) + number;
        if (!suffix.empty()) candidate += "." + suffix;
      } while (taken.count(candidate));
      taken[candidate] = true;
      e.shortName = candidate;
    }
    out->push_back(e);
  }
}

// The entries of the folder reached by the long components so far.
void ListResolved(const std::string& hostDir, char drive, const std::vector<std::string>& longParts,
                  std::vector<FolderEntry>* out) {
  std::vector<RawEntry> raw;
  AddRealEntries(hostDir, &raw);
  Parsed program = Parse(ProgramFolderWindows());
  bool onTheWay = program.drive == drive && longParts.size() < program.parts.size();
  for (std::size_t i = 0; onTheWay && i < longParts.size(); ++i) onTheWay = EqualNoCase(longParts[i], program.parts[i]);
  if (onTheWay) {
    const std::string& next = program.parts[longParts.size()];
    bool last = longParts.size() + 1 == program.parts.size();
    std::string host = last ? ProgramFolderHost() : hostDir + "/" + next;
    raw.erase(std::remove_if(raw.begin(), raw.end(), [&](const RawEntry& r) { return EqualNoCase(r.name, next); }),
              raw.end());
    raw.push_back(RawEntry{next, host, true, !last});
  }
  GiveShortNames(raw, out);
}

std::string Join(char drive, const std::vector<std::string>& parts, bool trailing) {
  std::string out = std::string(1, drive) + ":";
  for (auto& p : parts) out += "\\" + p;
  if (parts.empty() || trailing) out += "\\";
  return out;
}

}  // namespace

bool EqualNoCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

bool IsShortName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  auto dot = name.find('.');
  std::string base = name.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string::npos && ext.empty()) return false;
  for (char c : base + ext) if (!Valid83Char(c)) return false;
  return true;
}

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
  std::size_t p = 0, n = 0, star = std::string::npos, mark = 0;
  auto same = [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b)); };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  // "*.*" matches names without a dot too, as on Windows.
  if (p < pattern.size() && pattern.compare(p, std::string::npos, ".*") == 0) return true;
  return p == pattern.size();
}

std::string ProgramFolderWindows() {
  const char* env = std::getenv("ORV_PROGRAM_FOLDER");
  std::string folder = env && *env ? env : kDefaultProgramFolder;
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

std::string ProgramFolderHost() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string self(buf, static_cast<std::size_t>(n));
  return self.substr(0, self.find_last_of('/'));
}

MappedPath MapPath(const std::string& windowsPath) {
  MappedPath m;
  Parsed p = Parse(windowsPath);
  if (!p.valid) return m;
  m.valid = true;
  std::string host = DriveRoot(p.drive);
  std::vector<std::string> longParts, shortParts;
  bool found = true;
  bool lastVirtual = false;
  for (std::size_t i = 0; i < p.parts.size(); ++i) {
    const std::string& part = p.parts[i];
    if (i + 1 == p.parts.size()) m.parentExists = found;
    const FolderEntry* match = nullptr;
    std::vector<FolderEntry> entries;
    if (found) {
      ListResolved(host, p.drive, longParts, &entries);
      for (auto& e : entries) if (EqualNoCase(e.longName, part)) { match = &e; break; }
      if (!match) for (auto& e : entries) if (EqualNoCase(e.shortName, part)) { match = &e; break; }
    }
    lastVirtual = match && match->isVirtual;
    if (match) {
      host = match->host;
      longParts.push_back(match->longName);
      shortParts.push_back(match->shortName);
      if (!match->isDirectory && i + 1 < p.parts.size()) found = false;  // a file has no children
    } else {
      found = false;
      host += "/" + part;
      longParts.push_back(part);
      shortParts.push_back(part);
    }
  }
  if (p.parts.empty()) m.parentExists = true;
  m.host = host;
  if (found && lastVirtual) {
    m.exists = m.isDirectory = true;
  } else {
    m.exists = found && StatPath(host, &m.isDirectory);
  }
  m.longPath = Join(p.drive, longParts, p.trailingSlash);
  m.shortPath = Join(p.drive, shortParts, p.trailingSlash);
  return m;
}

bool ListFolder(const std::string& windowsFolder, std::vector<FolderEntry>* entries) {
  MappedPath folder = MapPath(windowsFolder);
  if (!folder.exists || !folder.isDirectory) return false;
  Parsed p = Parse(folder.longPath);
  ListResolved(folder.host, p.drive, p.parts, entries);
  return true;
}

}  // namespace orv::fs
