// CCalvexApp: the application object. InitInstance keeps the program to one copy
// per logon session and runs the hidden main window modally for the whole run.
#pragma once
#include "platform/framework/app.h"

class CCalvexApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};
