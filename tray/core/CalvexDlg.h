// CCalvexDlg: the tray program's one hidden main window. It owns the long-lived
// objects, runs the start-up sequence and the teardown, and receives every
// notification (firmware events, timers, tray clicks) on the one UI thread.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "platform/base/unique_handle.h"
#include "platform/framework/dialog.h"
#include "tray/core/LogFile.h"
#include "tray/resources/resource.h"

// Messages of the main window (WM_USER is 0x0400).
constexpr UINT WM_TRAY_NOTIFY = 0x0401;
constexpr UINT WM_AUDIO_CHANGED = 0x046B;
constexpr UINT WM_BRIGHTNESS_CHANGED = 0x046D;
constexpr UINT WM_OVERHEAT_AC_RESTORED = 0x046E;
constexpr UINT WM_HDD_DIALOG_DONE = 0x046F;
constexpr UINT WM_HDD_DIALOG_CLOSE = 0x0470;
constexpr UINT WM_EC_EVENT = 0x4040;

// Timers of the main window.
constexpr UINT_PTR TIMER_HIDE_MAIN = 900, TIMER_OSD_LEVEL = 904, TIMER_OSD_CENTER = 905, TIMER_OSD_ICON = 906,
                   TIMER_OSD_ICON2 = 907, TIMER_OSD_BAR = 909, TIMER_OSD_ICON3 = 913, TIMER_BRIGHTNESS_QUIET = 916,
                   TIMER_AUDIO_QUIET = 917;

// Tray menu commands.
constexpr UINT ID_TRAY_EXIT = 336, ID_TRAY_ABOUT = 337, ID_TRAY_USERDEFINE = 338;

constexpr int kOsdKinds = 6;

class CKvSysOSD;         // tray/osd/KvSysOSD.h
class CKvUserDefineKey;  // tray/dialogs/KvUserDefineKey.h
class CKvVolume;         // tray/audio/KvVolume.h
class CKvSysECODlg;      // tray/dialogs/KvSysECODlg.h

class CCalvexDlg : public CDialog {
 public:
  static constexpr UINT IDD = IDD_CALVEX_DIALOG;
  explicit CCalvexDlg(HWND parent = nullptr);
  ~CCalvexDlg() override;

  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // On-screen display of a kind (1..6) for two seconds, never over a full-screen program.
  void ShowOsd(int kind, int level, int image, int range);
  void HideOsd(int kind);
  bool IsFullScreenForeground() const;

  LRESULT OnFirmwareEvent(WPARAM wParam, LPARAM lParam);
  // The level OSD's decisions: the keyboard-hook library's scan codes of the
  // volume and brightness keys, volume and mute changes, brightness changes.
  LRESULT OnKbHookMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnAudioChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnBrightnessChanged(WPARAM wParam, LPARAM lParam);
  void DecideBrightnessOsd(int brightness);
  LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
  // The HDD dialog's Yes: its window is told to close (wParam 1). Answers 1.
  LRESULT OnHddDialogDone(WPARAM wParam, LPARAM lParam);
  void WriteLog(int level, const char* text);
  // Switches logging on or off (the About dialog's Ctrl+Alt+S) and stores the
  // flag; answers 1.
  int ToggleLogFlag();
  // The notification icons' mouse messages: a right click on the main icon
  // opens the tray menu. Answers 1.
  LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

  // Main window state.
  std::string m_strLanguageFile, m_strLanguage;
  std::unique_ptr<CKvSysOSD> m_pOsd[kOsdKinds + 1];  // [1..6]
  std::unique_ptr<CKvUserDefineKey> m_pUserDefineKey;  // its registry values; never shown
  std::unique_ptr<CKvVolume> m_pVolume;
  std::unique_ptr<CKvSysECODlg> m_pEcoDlg;  // the ECO power-scheme cycler; never shown
  bool m_bAcOnline = false, m_bWirelessOsdUp = false, m_bBrightnessOsdUp = false;
  // Also written by the volume object from a Core Audio thread when the watch moves.
  std::atomic<bool> m_bMute{false};
  bool m_bEcoOn = false, m_bTurboOn = false, m_bUserDefineFixed = false, m_bUserDefineDlgOpen = false;
  int m_nSavedBrightness = 0, m_nSavedVolume = 0;
  bool m_bLogEnabled = false, m_bAboutOpen = false, m_bTheaterOn = false, m_bEventCarriesState = false;
  bool m_bBluetoothOsdUp = false, m_bS4Stage1Open = false, m_bS4Stage2Open = false, m_bS3Open = false;
  bool m_bHddControl = false, m_bHddDlgOpen = false;
  int m_nBrightness = 0;
  std::atomic<int> m_nVolume{0};  // like m_bMute
  bool m_bPowerSourceChanged = false, m_bBrightnessQuiet = false, m_bBrightnessQuietTimer = false;
  bool m_bAudioQuiet = false, m_bAudioQuietTimer = false, m_bLastAcOnline = false;
  NOTIFYICONDATAA m_nid{};
  HICON m_hIcon = nullptr;  // icon resource 128 (the module's: never destroyed)
  COrvWmiAcpi m_wmi;
  CLogFile m_log;
  UINT_PTR m_nTimer[kOsdKinds + 1] = {};
  UINT_PTR m_nHideMainTimer = 0, m_nBrightnessQuietTimer = 0, m_nAudioQuietTimer = 0;

 private:
  void OnDestroy();
  void OnTimer(UINT_PTR id);
  void OnCommand(UINT id);
  void CreateOsdWindows();
  // The subscription of start-up step 6; error receives the failure text (260 bytes).
  bool SubscribeToFirmwareEvents(char* error);
  void AddMainTrayIcon();
  void SetHddTrayIcon(int mode);
  void RemoveTrayIcons();
  // The taskbar started again: the icons it lost are added again.
  void OnTaskbarCreated();
  int LoadHookLibrary();
  void UnloadHookLibrary();
  void DeviceEvent(int code, LPARAM state);
  // The HDD's power changed (0x78) and the HDD key (0x7B).
  void HddIconEvent();
  void HddKeyEvent();
  // The mode branches of the dispatcher: turbo, theater mode, the user-defined key.
  void TurboEvent(LPARAM state);
  void TheaterEvent();
  void UserDefineEvent();
  // The AC/DC setting's broadcast, and the automatic resume's.
  void OnPowerSettingChange(LPARAM lParam);
  void OnResumeAutomatic();
  // The ECO key: the next step of the ECO cycle (turbo gives way to it).
  void EcoEvent();
  // The overheat alarms 0x09, 0x01 and 0x0A: one dialog of each kind at a time.
  void OverheatEvent(int code);
  // Shows the volume picture (muted or not) or the brightness step on the Level OSD.
  void ShowVolumeOsd(int volume, bool mute);
  void ShowBrightnessOsd(int step);

  UINT m_uKbHookMessage = 0;    // "KB_HOOK_MESSAGE"
  UINT m_uTaskbarCreated = 0;   // "TaskbarCreated"
  orv::unique_hmodule m_hHookLibrary;
  orv::unique_hpowernotify m_hPowerNotify;  // the AC/DC setting's registration, ended with the window
  void (*m_pfnUnHook)() = nullptr;
  bool m_bMainIconAdded = false, m_bHddIconAdded = false;
};

// The one main window, for dialogs and callbacks.
extern CCalvexDlg* g_pMainDlg;
