// Calvex: the tray program's entry point.
#include "tray/core/CalvexApp.h"

int main() {
  CCalvexApp theApp;
  return theApp.Run();
}
