// pipe_call.exe COMMAND: one exchange with the service's pipe as the tray makes
// it (an 80-byte request, a reply read into 800 bytes); prints how many bytes
// the reply held and its text, or the error of a failed call.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pipe_call COMMAND\n");
    return 2;
  }
  char request[80] = {};
  std::strncpy(request, argv[1], sizeof request - 1);
  char reply[800] = {};
  DWORD read = 0;
  char name[] = "\\\\.\\pipe\\simple";
  if (!CallNamedPipeA(name, request, sizeof request, reply, sizeof reply, &read, NMPWAIT_USE_DEFAULT_WAIT)) {
    std::printf("failed %lu\n", static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  std::printf("read %lu: %s\n", static_cast<unsigned long>(read), reply);
  return 0;
}
