// sync_mutex_owner NAME [release]: opens the session mutex NAME, waits until it
// owns it and says "owned"; with "release" it then releases it and says
// "released". Either way it stays until it is killed.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, argv[1]);
  if (!mutex) return 1;
  DWORD waited = WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return 1;
  std::printf("owned\n");
  std::fflush(stdout);
  if (argc > 2 && std::strcmp(argv[2], "release") == 0) {
    if (!ReleaseMutex(mutex)) return 1;
    std::printf("released\n");
    std::fflush(stdout);
  }
  for (;;) pause();
}
