// orv-pipe-call: one CallNamedPipe from a separate process, optionally as another
// account, for the tests of who the pipe admits and of busy pipes.
//   orv-pipe-call [--uid N] [--timeout MS] <pipe name> <request> [reply size]
// The request goes as 80 bytes; prints "ok <bytes> <reply text>" or "error <number>".
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

int main(int argc, char** argv) {
  DWORD timeout = NMPWAIT_USE_DEFAULT_WAIT;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
    if (std::strcmp(argv[i], "--uid") == 0) {
      uid_t uid = static_cast<uid_t>(std::atoi(argv[i + 1]));
      if (setgid(uid) != 0 || setuid(uid) != 0) return 3;
    } else if (std::strcmp(argv[i], "--timeout") == 0) {
      timeout = static_cast<DWORD>(std::atol(argv[i + 1]));
    }
  }
  if (argc - i < 2) {
    std::fprintf(stderr, "usage: orv-pipe-call [--uid N] [--timeout MS] <pipe> <request> [reply size]\n");
    return 2;
  }
  std::string request = argv[i + 1];
  std::vector<char> in(80, '\0');
  std::memcpy(in.data(), request.data(), std::min<std::size_t>(request.size(), 79));
  std::vector<char> out(argc - i > 2 ? static_cast<std::size_t>(std::atol(argv[i + 2])) : 800, '\0');
  DWORD read = 0;
  if (!CallNamedPipeA(argv[i], in.data(), static_cast<DWORD>(in.size()), out.data(), static_cast<DWORD>(out.size()),
                     &read, timeout)) {
    std::printf("error %u\n", GetLastError());
    return 1;
  }
  std::printf("ok %u %s\n", read, std::string(out.data(), strnlen(out.data(), read)).c_str());
  return 0;
}
