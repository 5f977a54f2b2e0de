// CCalvexApp: the application object. InitInstance keeps the program to one copy
// per logon session and runs the hidden main window modally for the whole run.
#pragma once
#include "platform/dialog/dialog.h"

class CCalvexApp : public CWinApp {
 public:
  orv::win::BOOL InitInstance() override;
};
