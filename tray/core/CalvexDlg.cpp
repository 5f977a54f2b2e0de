// The main window's life: construction, the start-up sequence with its log lines,
// the message table and the teardown.
#include "tray/core/CalvexDlg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/unique_handle.h"
#include "platform/framework/app.h"
#include "tray/audio/KvVolume.h"
#include "tray/core/message_pump.h"
#include "tray/dialogs/KvUserDefineKey.h"
#include "tray/dialogs/KvSysECODlg.h"
#include "tray/firmware/Brightness.h"
#include "tray/firmware/EcCommands.h"
#include "tray/firmware/PlatformInfo.h"
#include "tray/osd/KvSysOSD.h"
#include "tray/ui/LanguageTable.h"

CCalvexDlg* g_pMainDlg = nullptr;

namespace {

// Logging on, but no folder for the log: the entries would be lost without a
// word, so say once that the program runs without its log.
void WarnIfLogUnwritable() {
  char user[255];
  DWORD size = sizeof user;
  std::string folder = "C:\\Users\\";
  if (GetUserNameA(user, &size)) folder += user;
  folder += "\\Documents";
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  std::fprintf(stderr, "Calvex: logging is on, but the folder %s does not exist; running without the log file\n",
               folder.c_str());
}

}  // namespace

CCalvexDlg::CCalvexDlg(HWND parent)
    : CDialog(IDD, parent), m_hIcon(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CCalvexDlg::~CCalvexDlg() {
  if (g_pMainDlg == this) g_pMainDlg = nullptr;
}

void CCalvexDlg::WriteLog(int level, const char* text) {
  if (m_bLogEnabled) m_log.WriteLog(level, text);
}

void CCalvexDlg::CreateOsdWindows() {
  for (int kind = 1; kind <= kOsdKinds; ++kind) {
    auto osd = std::make_unique<CKvSysOSD>();
    if (!osd->Create(CKvSysOSD::IDD)) {
      // Carry on without this kind: ShowOsd passes over a kind whose window is missing.
      char text[96];
      std::snprintf(text, sizeof text, "\t OSD window of kind %d could not be created", kind);
      WriteLog(5, text);
      std::fprintf(stderr, "Calvex: the OSD window of kind %d could not be created; it will not be shown\n", kind);
      continue;
    }
    m_pOsd[kind] = std::move(osd);
  }
}

bool CCalvexDlg::SubscribeToFirmwareEvents(char* error) {
  return m_wmi.OrvWMIEvent(OLESTR("Select * from Orv_Event"), error, OLESTR("root\\wmi"), OLESTR("WQL"));
}

BOOL CCalvexDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // Messages pumped inside long handlers go through the dialog's keyboard handling first.
  SetDialogMessageFilter([this](MSG* msg) { return IsDialogMessageA(m_hWnd, msg) != 0; });
  m_bLogEnabled = ReadLogFlag();
  if (m_bLogEnabled) WarnIfLogUnwritable();
  WriteLog(5, "OnInitial Function");
  WriteLog(5, "\t Confirm Log's Status");

  m_wmi.AddHWND(m_hWnd);
  char error[260] = {};
  const bool subscribed = SubscribeToFirmwareEvents(error);
  WriteLog(5, "\t Register WMI event");

  ResolveLanguageTable(m_strLanguageFile, m_strLanguage);
  WriteLog(5, "\t Define Language");

  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  SetWindowTextA(m_hWnd, "Calvex");
  g_pMainDlg = this;
  WriteLog(5, "\t Set Icon and Set WindowsText");

  RECT r{};
  GetWindowRect(m_hWnd, &r);
  MoveWindow(m_hWnd, -(r.right - r.left), -(r.bottom - r.top), r.right - r.left, r.bottom - r.top, TRUE);
  WriteLog(5, "\t Move Calvex's Windows");

  AddMainTrayIcon();
  // A restarted taskbar has lost the icons: this message says when to add them again.
  m_uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  WriteLog(5, "\t Set Tray Icon");

  m_uKbHookMessage = RegisterWindowMessageA("KB_HOOK_MESSAGE");
  ChangeWindowMessageFilter(m_uKbHookMessage, MSGFLT_ADD);
  WriteLog(5, "\t Register KB Hook event");
  LoadHookLibrary();
  WriteLog(5, "\t Load KBHook.dll");

  CreateOsdWindows();
  WriteLog(5, "\t Define OSD and ICON");
  m_pUserDefineKey = std::make_unique<CKvUserDefineKey>();
  WriteLog(5, "\t Define User Define key ");
  m_pVolume = std::make_unique<CKvVolume>();
  RegisterBrightnessEvents();
  m_pEcoDlg = std::make_unique<CKvSysECODlg>();
  WriteLog(5, "\t Register Audio's Event in Vista ");
  WriteLog(5, "\t Register Brightness's Event in Vista ");
  WriteLog(5, "\t Define ECO in Vista");

  m_nHideMainTimer = SetTimer(m_hWnd, TIMER_HIDE_MAIN, 500, nullptr);
  WriteLog(5, "\t Set Timer to Hide Windows");

  RegisterWithEc();
  WriteLog(5, "\t Register Calvex to EC");
  // The firmware has taken the registration, so it answers now: events it could
  // not be asked for at the start are asked for again.
  if (!subscribed && !SubscribeToFirmwareEvents(error)) {
    std::fprintf(stderr, "Calvex: the firmware's events cannot be received (%s); its keys will show nothing\n", error);
  }
  m_hPowerNotify.reset(RegisterPowerSettingNotification(m_hWnd, &GUID_ACDC_POWER_SOURCE, DEVICE_NOTIFY_WINDOW_HANDLE));
  WriteLog(5, "\t Register PowerSetting Event in vista");

  m_bLastAcOnline = IsAcOnline();
  std::string fixedProgram;
  m_bUserDefineFixed = ReadUserDefineIni(fixedProgram);
  if (m_bUserDefineFixed) {
    // The readers take 127 characters at most: a longer path goes in its short
    // form, or as "" when even that is too long, so that no earlier program is
    // started in place of the one the file names.
    const std::string storable = StorableProgramPath(fixedProgram);
    if (storable.empty() && !fixedProgram.empty())
      std::fprintf(stderr, "Calvex: the program named by UserDefine.ini has a path too long to keep; none is set\n");
    m_pUserDefineKey->WriteUserDefineValue(USER_DEFINE_SUBKEY, "UserDefineFilePath", storable);
  }
  WriteLog(5, "\t Confirm User Define Function");

  m_bEventCarriesState = std::atoi(GetAslVersion().c_str()) > 16;
  WriteLog(5, "\t Confirm ASL Code");

  if (GetHddFlag(1)) {
    m_bHddControl = true;
    SetHddTrayIcon(2);
  }
  WriteLog(5, "\t Confirm HDD Function");
  m_nVolume = m_pVolume->GetVolume();
  m_bMute = m_pVolume->GetMute();
  m_nBrightness = GetBrightness();
  WriteLog(5, "\t Define Audio and Brightness value");
  return TRUE;
}

void CCalvexDlg::OnDestroy() {
  SetDialogMessageFilter(nullptr);
  WriteLog(5, "On Destroy Function");
  UnregisterFromEc();
  WriteLog(5, "\t UnRegister Calvex to EC");
  // COM is left to m_wmi, which initialised it, so the thread's
  // initialisations and uninitialisations stay balanced.
  for (int kind : {1, 2, 3, 4, 5}) m_pOsd[kind].reset();
  m_pUserDefineKey.reset();
  m_pOsd[6].reset();
  m_pVolume.reset();
  m_pEcoDlg.reset();
  UnloadHookLibrary();
  WriteLog(5, "\t UnLoad KBHook.dll");
  RemoveTrayIcons();
  WriteLog(5, "\t Delete Tray Icon.");
}

LRESULT CCalvexDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_uKbHookMessage && message == m_uKbHookMessage) return OnKbHookMessage(wParam, lParam);
  if (m_uTaskbarCreated && message == m_uTaskbarCreated) {
    OnTaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_EC_EVENT:
      return OnFirmwareEvent(wParam, lParam);
    case WM_TRAY_NOTIFY:
      return OnTrayNotify(wParam, lParam);
    case WM_AUDIO_CHANGED:
      return OnAudioChanged(wParam, lParam);
    case WM_BRIGHTNESS_CHANGED:
      return OnBrightnessChanged(wParam, lParam);
    case WM_POWERBROADCAST:
      return OnPowerBroadcast(wParam, lParam);
    case WM_HDD_DIALOG_DONE:
      return OnHddDialogDone(wParam, lParam);
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) >= ID_TRAY_EXIT && LOWORD(wParam) <= ID_TRAY_USERDEFINE) OnCommand(LOWORD(wParam));
      break;  // then the dialog's own command handling
    case WM_DESTROY: {
      LRESULT result = CDialog::WindowProc(message, wParam, lParam);
      OnDestroy();
      return result;
    }
    case WM_ENDSESSION:
      return 1;
    default:
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
