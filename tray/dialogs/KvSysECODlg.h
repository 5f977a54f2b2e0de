// CKvSysECODlg: the ECO power-scheme cycler. Its window is never made: the main
// window keeps one object, which steps the notebook through the five ECO
// profiles' power schemes and back to the user's own scheme.
#pragma once
#include <windows.h>

#include "platform/base/unique_handle.h"
#include "platform/framework/dialog.h"
#include "tray/resources/resource.h"

class CKvSysECODlg : public CDialog {
 public:
  static constexpr UINT IDD = IDD_ECO;
  // Removes a profile scheme that an earlier run left installed: the power
  // saver becomes active and the EC's ECO flag is cleared.
  explicit CKvSysECODlg(HWND parent = nullptr);
  // Ends a cycle in progress the same way, but back to the saved scheme.
  ~CKvSysECODlg() override;

  // The next step: 0..4, the profile now active; 5, ECO off again.
  int NextEcoMode();
  // Ends the cycle outside its order (turbo switched on): back to the saved
  // scheme; the EC's flag is the caller's.
  void RestoreScheme();

 private:
  void ActivateProfile(int index);
  // The first installed profile scheme (0..4), or -1.
  int FindInstalledProfile() const;
  // The scheme to go back to: the one saved when Gaming was entered, or without
  // one the scheme that was active once the constructor had done its clean-up.
  const GUID& SchemeToRestore() const;

  orv::unique_hlocal m_savedScheme;  // GUID*, from PowerGetActiveScheme
  GUID m_startScheme;
  int m_ecoStep = 0;
  char m_folder[512] = {};
};
