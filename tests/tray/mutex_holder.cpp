// tray_mutex_holder: takes the session mutex "Calvex" and sleeps until killed.
#include <unistd.h>

#include "platform/sync/mutex.h"

int main() {
  if (!orv::win::CreateMutexA(nullptr, 0, "Calvex")) return 1;
  for (;;) pause();
}
