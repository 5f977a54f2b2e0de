// Dialog controls with ids: static text, push buttons and edit boxes as child
// windows of a dialog, and the calls that reach them by id. A button click
// reaches the dialog as WM_COMMAND (id, BN_CLICKED) as on Windows.
#pragma once
#include "platform/ui/window.h"

namespace orv::win {

constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BN_CLICKED = 0;
constexpr WPARAM VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B;

enum class ControlKind { Static, Button, DefaultButton, Edit };

// Creates a control of the dialog's thread; NULL when the dialog does not exist.
HWND CreateDialogControl(HWND dialog, ControlKind kind, int id, const char* text, RECT rect);
ControlKind GetControlKind(HWND control);
int GetDlgCtrlID(HWND control);  // 0 for a window that is no control

// The dialog's control of that id; NULL (ERROR_CONTROL_ID_NOT_FOUND) when it has none.
HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemTextA(HWND dialog, int id, const char* text);
UINT GetDlgItemTextA(HWND dialog, int id, char* text, int maxCount);

// The control that takes typed keys (an edit box), per dialog.
HWND GetDialogFocus(HWND dialog);
void SetDialogFocus(HWND dialog, HWND control);

// The dialog's first default push button (NULL when it has none).
HWND GetDefaultButton(HWND dialog);
// The edit box after current in creation order, wrapping round (NULL without any).
HWND NextEditControl(HWND dialog, HWND current);
// Destroys the dialog's controls; the dialog does this as its window goes.
void DestroyDialogControls(HWND dialog);


}  // namespace orv::win
