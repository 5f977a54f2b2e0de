// Fuzz target for the profile reader that the language table and UserDefine.ini
// go through: any file text, read with GetPrivateProfileStringA into buffers of
// every size. A read stays inside its buffer, ends in NUL (lists in two), and
// gives the same text, cut, as a roomy read; a value written into the file is
// read back as written.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/home/sim/home.h"
#include "tests/support/fuzz_home.h"

namespace {

constexpr char kFile[] = "C:\\fuzz.ini";
constexpr std::size_t kGuard = 8;
constexpr char kFill = '\x5A';
// Each read parses the whole file again: the first few sections and keys are enough.
constexpr std::size_t kNamesRead = 6;

std::string g_host;

// One read into a buffer of size bytes, checked; the text it gave (a list with its NULs).
std::string Read(const char* section, const char* key, DWORD size, bool list) {
  std::vector<char> buffer(size + kGuard, kFill);
  DWORD n = GetPrivateProfileStringA(section, key, "dflt", buffer.data(), size, kFile);
  for (std::size_t i = size; i < buffer.size(); ++i)
    if (buffer[i] != kFill) std::abort();  // wrote past the buffer
  if (n >= size || buffer[n] != '\0') std::abort();
  // A list ends in two NULs: its last name's own and the list's, or, cut short
  // (the length is then the size less two), a NUL after the cut name's.
  if (list && n > 0 && buffer[n - 1] != '\0' && !(n + 2 == size && buffer[n + 1] == '\0')) std::abort();
  return std::string(buffer.data(), n);
}

// The names of a roomy list read.
std::vector<std::string> Names(const char* section) {
  std::string list = Read(section, nullptr, 1 << 16, true);
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size();) {
    std::size_t end = list.find('\0', at);
    names.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string home = orv::test::UseFuzzStateFolder();
  orv::home::MakeDirs(home + "/drive_c");
  g_host = home + "/drive_c/fuzz.ini";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const DWORD small = 1 + data[0] % 24;
  std::ofstream(g_host, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data + 1),
                                                                  static_cast<std::streamsize>(size - 1));
  Read(nullptr, nullptr, small, true);
  std::vector<std::string> sections = Names(nullptr);
  if (sections.size() > kNamesRead) sections.resize(kNamesRead);
  for (const std::string& section : sections) {
    Read(section.c_str(), nullptr, small, true);
    std::vector<std::string> keys = Names(section.c_str());
    if (keys.size() > kNamesRead) keys.resize(kNamesRead);
    for (const std::string& key : keys) {
      const std::string whole = Read(section.c_str(), key.c_str(), 1 << 16, false);
      const std::string cut = Read(section.c_str(), key.c_str(), small, false);
      if (whole.compare(0, cut.size(), cut) != 0) std::abort();  // a short read is the text, cut
    }
  }
  // A value written under a name the file already has is read back as written.
  const std::string section = sections.empty() ? "Fuzz" : sections.front();
  if (WritePrivateProfileStringA(section.c_str(), "FuzzKey", "fuzz value", kFile)) {
    if (Read(section.c_str(), "FuzzKey", 64, false) != "fuzz value") std::abort();
  }
  return 0;
}
