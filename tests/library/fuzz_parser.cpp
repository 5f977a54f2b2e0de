// Fuzz target for the command-string parser: any line, any result buffer size;
// the result must stay inside its buffer and be NUL-terminated.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "library/command_string.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // No provider runs under this state folder: every well-formed line ends in a
  // connection failure, quickly, while the whole parse path is exercised.
  static char home[] = "/tmp/orvfuzzXXXXXX";
  if (mkdtemp(home)) setenv("ORV_HOME", home, 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::size_t resultSize = 1 + data[0] % 200;
  std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
  line = line.c_str();  // a command string ends at its first NUL
  orv::lib::ParseCommand(line.c_str());

  constexpr std::size_t kGuard = 16;
  std::string buffer(resultSize + kGuard, '\x5A');
  COrvWmiAcpi wmi;
  wmi.CallOrvWmiAcpiParser(line.c_str(), buffer.data(), resultSize);
  for (std::size_t i = resultSize; i < buffer.size(); ++i) {
    if (buffer[i] != '\x5A') std::abort();  // wrote past the caller's buffer
  }
  if (std::memchr(buffer.data(), '\0', resultSize) == nullptr && buffer[0] != '\x5A') std::abort();
  return 0;
}
