// The simulated build's <winuser.h>: window classes and windows, messages and
// their queues, timers, dialogs and their controls, icons, keyboard hooks and
// input. Calls that other areas of the platform implement sit in their own
// partial headers, included at the end (the SDK splits winuser.h likewise).
//
// What the simulation does differently is said at the call. Every thread that
// uses these calls has one message queue; windows belong to the thread that
// made them; handles are never reused.
#pragma once
#include "windef.h"

// Handles of the graphics area that records here name (declared again, the
// same way, where that area declares them).
typedef struct HBRUSH__* HBRUSH;
typedef struct HBITMAP__* HBITMAP;

extern "C" {

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef VOID(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);
typedef LRESULT(CALLBACK* HOOKPROC)(int code, WPARAM wParam, LPARAM lParam);

// ---- Window messages ----
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUERYENDSESSION 0x0011
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_ENDSESSION 0x0016
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_CANCELMODE 0x001F
#define WM_NEXTDLGCTL 0x0028
#define WM_DRAWITEM 0x002B
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_QUERYDRAGICON 0x0037
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_CONTEXTMENU 0x007B
#define WM_GETICON 0x007F
#define WM_SETICON 0x0080
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_GETDLGCODE 0x0087
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define WM_POWERBROADCAST 0x0218
#define WM_HOTKEY 0x0312
#define WM_USER 0x0400
#define WM_APP 0x8000

// WM_SETICON / WM_GETICON
#define ICON_SMALL 0
#define ICON_BIG 1
#define ICON_SMALL2 2

// ---- Window styles ----
#define WS_OVERLAPPED 0x00000000
#define WS_POPUP 0x80000000
#define WS_CHILD 0x40000000
#define WS_MINIMIZE 0x20000000
#define WS_VISIBLE 0x10000000
#define WS_DISABLED 0x08000000
#define WS_CLIPSIBLINGS 0x04000000
#define WS_CLIPCHILDREN 0x02000000
#define WS_MAXIMIZE 0x01000000
#define WS_CAPTION 0x00C00000
#define WS_BORDER 0x00800000
#define WS_DLGFRAME 0x00400000
#define WS_VSCROLL 0x00200000
#define WS_HSCROLL 0x00100000
#define WS_SYSMENU 0x00080000
#define WS_THICKFRAME 0x00040000
#define WS_GROUP 0x00020000
#define WS_TABSTOP 0x00010000
#define WS_MINIMIZEBOX 0x00020000
#define WS_MAXIMIZEBOX 0x00010000
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)

#define WS_EX_DLGMODALFRAME 0x00000001
#define WS_EX_NOPARENTNOTIFY 0x00000004
#define WS_EX_TOPMOST 0x00000008
#define WS_EX_ACCEPTFILES 0x00000010
#define WS_EX_TRANSPARENT 0x00000020
#define WS_EX_TOOLWINDOW 0x00000080
#define WS_EX_WINDOWEDGE 0x00000100
#define WS_EX_CLIENTEDGE 0x00000200
#define WS_EX_CONTROLPARENT 0x00010000
#define WS_EX_STATICEDGE 0x00020000
#define WS_EX_APPWINDOW 0x00040000
#define WS_EX_LAYERED 0x00080000
#define WS_EX_NOACTIVATE 0x08000000

// Dialog styles.
#define DS_ABSALIGN 0x01
#define DS_SYSMODAL 0x02
#define DS_3DLOOK 0x0004
#define DS_FIXEDSYS 0x0008
#define DS_NOFAILCREATE 0x0010
#define DS_LOCALEDIT 0x20
#define DS_SETFONT 0x40
#define DS_MODALFRAME 0x80
#define DS_NOIDLEMSG 0x100
#define DS_SETFOREGROUND 0x200
#define DS_CONTROL 0x0400
#define DS_CENTER 0x0800
#define DS_CENTERMOUSE 0x1000
#define DS_CONTEXTHELP 0x2000
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// Control styles and messages.
#define BS_PUSHBUTTON 0x00000000
#define BS_DEFPUSHBUTTON 0x00000001
#define BS_CHECKBOX 0x00000002
#define BS_AUTOCHECKBOX 0x00000003
#define BS_RADIOBUTTON 0x00000004
#define BS_GROUPBOX 0x00000007
#define BS_AUTORADIOBUTTON 0x00000009
#define BS_OWNERDRAW 0x0000000B
#define BS_ICON 0x00000040
#define BS_BITMAP 0x00000080
#define ES_LEFT 0x0000
#define ES_CENTER 0x0001
#define ES_RIGHT 0x0002
#define ES_MULTILINE 0x0004
#define ES_PASSWORD 0x0020
#define ES_AUTOVSCROLL 0x0040
#define ES_AUTOHSCROLL 0x0080
#define ES_READONLY 0x0800
#define ES_NUMBER 0x2000
#define SS_LEFT 0x00000000
#define SS_CENTER 0x00000001
#define SS_RIGHT 0x00000002
#define SS_ICON 0x00000003
#define SS_BLACKFRAME 0x00000007
#define SS_NOPREFIX 0x00000080
#define SS_BITMAP 0x0000000E
#define SS_NOTIFY 0x00000100
#define SS_CENTERIMAGE 0x00000200
#define SS_REALSIZEIMAGE 0x00000800
#define SS_SUNKEN 0x00001000
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_CLICK 0x00F5
#define BN_CLICKED 0
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008
#define LBS_NOTIFY 0x0001
#define LB_ADDSTRING 0x0180
#define LB_RESETCONTENT 0x0184
#define LB_SETCURSEL 0x0186
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_ERR (-1)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

// Dialog results.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9

// ShowWindow
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// Get/SetWindowLongPtr
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)

#define CW_USEDEFAULT (static_cast<int>(0x80000000))
#define HWND_MESSAGE (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-3)))
#define MAKEINTATOM(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))

// PeekMessage
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

#define MSGFLT_ADD 1
#define MSGFLT_REMOVE 2

// Virtual keys.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_DELETE 0x2E
#define VK_VOLUME_MUTE 0xAD
#define VK_VOLUME_DOWN 0xAE
#define VK_VOLUME_UP 0xAF

// Resource types (libloaderapi.h finds them).
#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)
#define RT_MANIFEST MAKEINTRESOURCE(24)
#define CREATEPROCESS_MANIFEST_RESOURCE_ID MAKEINTRESOURCE(1)

// LoadImage
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_MONOCHROME 0x0001
#define LR_LOADFROMFILE 0x0010
#define LR_LOADTRANSPARENT 0x0020
#define LR_DEFAULTSIZE 0x0040
#define LR_VGACOLOR 0x0080
#define LR_CREATEDIBSECTION 0x2000
#define LR_SHARED 0x8000
#define IDI_APPLICATION MAKEINTRESOURCE(32512)

// Hooks and input.
#define WH_KEYBOARD_LL 13
#define HC_ACTION 0
#define LLKHF_EXTENDED 0x00000001
#define LLKHF_INJECTED 0x00000010
#define LLKHF_ALTDOWN 0x00000020
#define LLKHF_UP 0x00000080
#define INPUT_MOUSE 0
#define INPUT_KEYBOARD 1
#define INPUT_HARDWARE 2
#define KEYEVENTF_EXTENDEDKEY 0x0001
#define KEYEVENTF_KEYUP 0x0002
#define KEYEVENTF_UNICODE 0x0004
#define KEYEVENTF_SCANCODE 0x0008

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagWNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
} WNDCLASSEXA, *PWNDCLASSEXA, *LPWNDCLASSEXA;

typedef struct tagCREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct _ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

typedef struct tagKBDLLHOOKSTRUCT {
  DWORD vkCode;
  DWORD scanCode;
  DWORD flags;
  DWORD time;
  ULONG_PTR dwExtraInfo;
} KBDLLHOOKSTRUCT, *LPKBDLLHOOKSTRUCT, *PKBDLLHOOKSTRUCT;

typedef struct tagMOUSEINPUT {
  LONG dx;
  LONG dy;
  DWORD mouseData;
  DWORD dwFlags;
  DWORD time;
  ULONG_PTR dwExtraInfo;
} MOUSEINPUT, *PMOUSEINPUT, *LPMOUSEINPUT;

typedef struct tagKEYBDINPUT {
  WORD wVk;
  WORD wScan;
  DWORD dwFlags;
  DWORD time;
  ULONG_PTR dwExtraInfo;
} KEYBDINPUT, *PKEYBDINPUT, *LPKEYBDINPUT;

typedef struct tagHARDWAREINPUT {
  DWORD uMsg;
  WORD wParamL;
  WORD wParamH;
} HARDWAREINPUT, *PHARDWAREINPUT, *LPHARDWAREINPUT;

typedef struct tagINPUT {
  DWORD type;
  union {
    MOUSEINPUT mi;
    KEYBDINPUT ki;
    HARDWAREINPUT hi;
  };
} INPUT, *PINPUT, *LPINPUT;

// ---- Window classes ----
// A class is found by its name (compared without regard to case) or its atom,
// among the classes of the module given, then the system's ("#32770" for
// dialogs, "BUTTON", "EDIT", "STATIC"). 0 with ERROR_CLASS_ALREADY_EXISTS for a
// name the module has already registered.
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx);
// FALSE with ERROR_CLASS_HAS_WINDOWS while a window of the class exists,
// ERROR_CLASS_DOES_NOT_EXIST for a class the module has not registered.
BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);
BOOL WINAPI GetClassInfoExA(HINSTANCE hInstance, LPCSTR lpszClass, LPWNDCLASSEXA lpwcx);
int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount);

// ---- Windows ----
// Makes a window of the calling thread and sends it WM_NCCREATE and WM_CREATE
// (lParam: the CREATESTRUCTA). NULL with ERROR_CANNOT_FIND_WND_CLASS for an
// unknown class; NULL when WM_NCCREATE answers FALSE or WM_CREATE -1. A child
// window (WS_CHILD) takes hMenu as its id and needs a parent.
HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam);
// Destroys the window, its child windows and the windows it owns: WM_DESTROY
// goes to the window before its children, WM_NCDESTROY to the children first.
// Then the handle is invalid: its timers end and its queued messages are
// dropped. FALSE with ERROR_ACCESS_DENIED from another thread than the owner.
BOOL WINAPI DestroyWindow(HWND hWnd);
// WM_NCCREATE answers TRUE, WM_CLOSE destroys the window, WM_QUERYENDSESSION
// answers TRUE, WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH keep the window's
// text, WM_SETICON / WM_GETICON its icons; everything else answers 0.
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// GWLP_WNDPROC, GWLP_USERDATA, GWLP_ID, GWLP_HINSTANCE, GWLP_HWNDPARENT, GWL_STYLE,
// GWL_EXSTYLE; the Set form returns the value before. 0 with
// ERROR_INVALID_INDEX for another index.
LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex);
LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);

BOOL WINAPI IsWindow(HWND hWnd);
BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd);
// A child window's parent, a popup's owner, NULL for other windows.
HWND WINAPI GetParent(HWND hWnd);
// The owning thread's id (0 for an invalid window); *lpdwProcessId gets the process's.
DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId);
BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
// Returns whether the window was visible before; WM_SHOWWINDOW is sent on a change.
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
BOOL WINAPI IsWindowVisible(HWND hWnd);
// Returns whether the window was disabled before; WM_ENABLE is sent on a change.
BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
BOOL WINAPI IsWindowEnabled(HWND hWnd);
// The keyboard focus of the calling thread: WM_KILLFOCUS to the window that
// loses it, WM_SETFOCUS to the one that gets it. Returns the window that had it.
HWND WINAPI SetFocus(HWND hWnd);
HWND WINAPI GetFocus(void);
// Sends WM_SETTEXT.
BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
// Copies at most nMaxCount-1 bytes plus NUL; returns the bytes copied.
int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
int WINAPI GetWindowTextLengthA(HWND hWnd);
// Named properties (names compared without regard to case, as atoms are).
BOOL WINAPI SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData);
HANDLE WINAPI GetPropA(HWND hWnd, LPCSTR lpString);
HANDLE WINAPI RemovePropA(HWND hWnd, LPCSTR lpString);
// Calls back for every top-level window, oldest first, until it answers FALSE.
BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam);

// ---- Messages ----
// Queues a message for the window's thread and returns at once. NULL hWnd posts
// to the calling thread. FALSE with ERROR_INVALID_WINDOW_HANDLE for a window
// that does not exist (or no longer does).
BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// FALSE with ERROR_INVALID_THREAD_ID when that thread has no queue.
BOOL WINAPI PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
// Calls the window procedure and returns its answer. For another thread's window
// the message is handed to that thread and the caller waits, meanwhile handling
// what other threads send to it. 0 when the window's thread ends first.
LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Sent messages are handled first, then posted ones in order, WM_QUIT once the
// queue is empty, WM_TIMER last. A waiting thread sleeps until something
// arrives or its next timer is due.
BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL WINAPI WaitMessage(void);
// Calls the window procedure of lpMsg->hwnd (or the timer procedure of a WM_TIMER
// that carries one) and returns its answer.
LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);
// Posts WM_CHAR / WM_SYSCHAR for a key-down of a key that has a character without
// shift state (letters in lower case, digits, space, Enter, Tab, Backspace, Esc).
// TRUE for every key-down and key-up; FALSE for other messages.
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
VOID WINAPI PostQuitMessage(int nExitCode);
// The same name gives the same number (0xC000..0xFFFF) within the process; names
// are compared without regard to case. (Windows shares the numbers across the
// session; every poster here lives in the receiver's process.)
UINT WINAPI RegisterWindowMessageA(LPCSTR lpString);
// This machine has no integrity levels: every message comes through already, and
// the call only checks its arguments.
BOOL WINAPI ChangeWindowMessageFilter(UINT message, DWORD dwFlag);

// ---- Timers ----
// Starts (or restarts, with a new period) a timer of a window of the calling
// thread and returns its id; hWnd NULL makes a thread timer with a new id. 0 for
// another thread's window (ERROR_ACCESS_DENIED) or a window timer of id 0
// (ERROR_INVALID_PARAMETER). At most one WM_TIMER per timer is pending.
UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// ---- Message boxes ----
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ICONERROR 0x00000010L
#define MB_ICONWARNING 0x00000030L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONINFORMATION 0x00000040L
// A modal box of the text, captioned lpCaption ("Error" when NULL), with OK (and
// Cancel for MB_OKCANCEL; other button sets show OK and Cancel too), its owner
// disabled meanwhile. IDOK or IDCANCEL (Esc; IDOK when OK is the only button);
// 0 when the box cannot be made. The icon flags draw no icon here.
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

// ---- Dialogs ----
// Dialogs come from DIALOGEX templates among the module's resources. Dialog
// units come from the template's font as the simulated screen draws it (a Latin
// sans face at the template's point size, 96 dots per inch): a quarter of its
// average character width across, an eighth of its line height down.
HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam);
// Runs the dialog's own message loop (disabling the owner meanwhile) until
// EndDialog; a WM_QUIT ends it too and is posted again for the outer loop.
// Returns EndDialog's result, -1 when the dialog cannot be made.
INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam);
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
int WINAPI GetDlgCtrlID(HWND hWnd);
BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax);
LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
// Takes every message for the dialog or one of its controls (TRUE): Esc sends
// IDCANCEL, Enter the default button's id (IDOK without one), Tab moves the
// focus to the next control with WS_TABSTOP, other keys become characters for
// the focus; the rest is dispatched. FALSE for messages of other windows.
BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg);
BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect);

// ---- Text ----
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000
// Formats text into the rectangle in the DC's font, colour and background mode
// (cchText -1: up to the NUL): aligned, broken into lines with DT_WORDBREAK
// (between words, and between CJK characters), centred vertically with
// DT_SINGLELINE | DT_VCENTER. "&" marks the next character unless DT_NOPREFIX
// ("&&" is one "&"); the mark itself is not drawn. Returns the text's height,
// 0 on failure; DT_CALCRECT only measures, setting the rectangle's right and
// bottom.
int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format);

// ---- Icons ----
// From the module's RT_GROUP_ICON resource: the image whose size is nearest the
// one asked (LoadIcon: 32 x 32). Icons of LoadIcon and of LoadImage with
// LR_SHARED belong to the module and are never destroyed.
HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
// IMAGE_ICON only (NULL with ERROR_NOT_SUPPORTED for other types); cx, cy 0 with
// LR_DEFAULTSIZE: 32 x 32; 0 without: the resource's first image.
HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);
HICON WINAPI CreateIconIndirect(PICONINFO piconinfo);
BOOL WINAPI DestroyIcon(HICON hIcon);

// ---- Hot keys ----
#define MOD_ALT 0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT 0x0004
#define MOD_WIN 0x0008
#define MOD_NOREPEAT 0x4000
// A key of the simulated desktop's keyboard (orv-desktop key) that matches a
// registered combination goes to its window as WM_HOTKEY (wParam the id, lParam
// the modifiers and the key) instead of to the focus. FALSE with
// ERROR_HOTKEY_ALREADY_REGISTERED for a combination or window and id taken.
BOOL WINAPI RegisterHotKey(HWND hWnd, int id, UINT fsModifiers, UINT vk);
// FALSE with ERROR_HOTKEY_NOT_REGISTERED for a window and id not registered.
BOOL WINAPI UnregisterHotKey(HWND hWnd, int id);

// ---- Hooks and input ----
// WH_KEYBOARD_LL only (NULL with ERROR_INVALID_HOOK_FILTER otherwise). The hook
// procedure runs on the installing thread while it waits for or peeks at
// messages; the most recent hook first. An answer other than 0 stops the key.
// The simulated keyboard is the notebook's own: its volume and brightness keys.
HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
BOOL WINAPI UnhookWindowsHookEx(HHOOK hhk);
// Lets the key go on to the next hook: answers 0.
LRESULT WINAPI CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);
// Keyboard input (INPUT_KEYBOARD) goes to the low-level hooks, marked injected;
// returns the events taken, 0 with ERROR_INVALID_PARAMETER for a wrong cbSize.
UINT WINAPI SendInput(UINT cInputs, LPINPUT pInputs, int cbSize);

}  // extern "C"

// Layered windows, regions, monitors, the foreground and the taskbar (desktop area).
#if __has_include(<winuser_desktop.h>)
#include <winuser_desktop.h>
#endif
// Power-setting notifications and power broadcasts (power area).
#if __has_include(<winuser_power.h>)
#include <winuser_power.h>
#endif
