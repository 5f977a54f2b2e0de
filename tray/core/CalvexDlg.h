// CCalvexDlg: the tray program's one hidden main window. It owns the long-lived
// objects, runs the start-up sequence and the teardown, and receives every
// notification (firmware events, timers, tray clicks) on the one UI thread.
#pragma once
#include <memory>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "platform/dialog/dialog.h"
#include "platform/gfx/sim/surface.h"
#include "platform/shell/notify_icon.h"
#include "tray/core/LogFile.h"
#include "tray/osd/KvSysOSD.h"

// Messages of the main window (WM_USER is 0x0400).
constexpr orv::win::UINT WM_TRAY_NOTIFY = 0x0401;
constexpr orv::win::UINT WM_AUDIO_CHANGED = 0x046B;
constexpr orv::win::UINT WM_BRIGHTNESS_CHANGED = 0x046D;
constexpr orv::win::UINT WM_OVERHEAT_AC_RESTORED = 0x046E;
constexpr orv::win::UINT WM_HDD_DIALOG_DONE = 0x046F;
constexpr orv::win::UINT WM_HDD_DIALOG_CLOSE = 0x0470;
constexpr orv::win::UINT WM_EC_EVENT = 0x4040;

// Timers of the main window.
constexpr orv::win::UINT_PTR TIMER_HIDE_MAIN = 900, TIMER_OSD_LEVEL = 904, TIMER_OSD_CENTER = 905,
                             TIMER_OSD_ICON = 906, TIMER_OSD_ICON2 = 907, TIMER_OSD_BAR = 909,
                             TIMER_OSD_ICON3 = 913, TIMER_BRIGHTNESS_QUIET = 916, TIMER_AUDIO_QUIET = 917;

// Tray menu commands.
constexpr orv::win::UINT ID_TRAY_EXIT = 336, ID_TRAY_ABOUT = 337, ID_TRAY_USERDEFINE = 338;

constexpr int kOsdKinds = 6;
constexpr orv::win::WPARAM ICON_SMALL = 0, ICON_BIG = 1;

class CCalvexDlg : public CDialog {
 public:
  static constexpr int IDD = 102;
  explicit CCalvexDlg(HWND parent = nullptr);
  ~CCalvexDlg() override;

  orv::win::BOOL OnInitDialog() override;
  orv::win::LRESULT WindowProc(HWND hwnd, orv::win::UINT message, orv::win::WPARAM wParam,
                               orv::win::LPARAM lParam) override;

  // On-screen display of a kind (1..6) for two seconds, never over a full-screen program.
  void ShowOsd(int kind, int level, int image, int range);
  void HideOsd(int kind);
  bool IsFullScreenForeground() const;

  orv::win::LRESULT OnFirmwareEvent(orv::win::WPARAM wParam, orv::win::LPARAM lParam);
  // The keyboard-hook library's scan codes of the volume and brightness keys.
  orv::win::LRESULT OnKbHookMessage(orv::win::WPARAM wParam, orv::win::LPARAM lParam);
  void WriteLog(int level, const char* text);

  // Main window state.
  std::string m_strLanguageFile, m_strLanguage;
  std::unique_ptr<CKvSysOSD> m_pOsd[kOsdKinds + 1];  // [1..6]
  bool m_bAcOnline = false, m_bWirelessOsdUp = false, m_bBrightnessOsdUp = false, m_bMute = false;
  bool m_bEcoOn = false, m_bTurboOn = false, m_bUserDefineFixed = false, m_bUserDefineDlgOpen = false;
  int m_nSavedBrightness = 0, m_nSavedVolume = 0;
  bool m_bLogEnabled = false, m_bAboutOpen = false, m_bTheaterOn = false, m_bEventCarriesState = false;
  bool m_bBluetoothOsdUp = false, m_bS4Stage1Open = false, m_bS4Stage2Open = false, m_bS3Open = false;
  bool m_bHddControl = false, m_bHddDlgOpen = false;
  int m_nBrightness = 0, m_nVolume = 0;
  bool m_bPowerSourceChanged = false, m_bBrightnessQuiet = false, m_bBrightnessQuietTimer = false;
  bool m_bAudioQuiet = false, m_bAudioQuietTimer = false, m_bLastAcOnline = false;
  orv::win::NOTIFYICONDATAA m_nid{};
  orv::gfx::Surface m_hIcon;  // icon resource 128
  COrvWmiAcpi m_wmi;
  CLogFile m_log;
  orv::win::UINT_PTR m_nTimer[kOsdKinds + 1] = {};
  orv::win::UINT_PTR m_nHideMainTimer = 0, m_nBrightnessQuietTimer = 0, m_nAudioQuietTimer = 0;

 private:
  void OnDestroy();
  void OnTimer(orv::win::UINT_PTR id);
  void OnCommand(orv::win::UINT id);
  void CreateOsdWindows();
  void AddMainTrayIcon();
  void SetHddTrayIcon(int mode);
  void RemoveTrayIcons();
  int LoadHookLibrary();
  void UnloadHookLibrary();
  void DeviceEvent(int code, orv::win::LPARAM state);

  orv::win::UINT m_uKbHookMessage = 0;  // "KB_HOOK_MESSAGE"
  orv::win::HMODULE m_hHookLibrary = nullptr;
  void (*m_pfnUnHook)() = nullptr;
  orv::gfx::Surface m_hddEnabledIcon, m_hddDisabledIcon;  // icon resources 166 and 167
  bool m_bMainIconAdded = false, m_bHddIconAdded = false;
};

// The one main window, for dialogs and callbacks.
extern CCalvexDlg* g_pMainDlg;
