// Calvex: the tray program's application object and entry point.
#include "tray/core/CalvexApp.h"

CCalvexApp theApp;

int main() { return theApp.Run(); }
