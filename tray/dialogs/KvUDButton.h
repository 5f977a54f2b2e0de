// CKvUDButton: a push button of the user-define key dialog that puts its own
// help text into the parent's control 1023 while the mouse moves over it.
#pragma once
#include <windows.h>

#include <string>

#include "platform/framework/button.h"

class CKvUDButton : public CButton {
 public:
  // Finds the language table and section, with the dialog's fallback to 1033.
  CKvUDButton();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  std::string m_helpText;
  std::string m_languageFile;
  std::string m_languageSection;
};
