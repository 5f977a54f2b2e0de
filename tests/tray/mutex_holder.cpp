// tray_mutex_holder: takes the session mutex "Calvex" and sleeps until killed.
#include <unistd.h>

#include <windows.h>

int main() {
  if (!CreateMutexA(nullptr, FALSE, "Calvex")) return 1;
  for (;;) pause();
}
