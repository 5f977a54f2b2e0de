// Resource ids of the tray program Calvex (resource script Calvex.rc).
#pragma once

// Dialog templates.
#define IDD_CALVEX_DIALOG 102
#define IDD_ABOUTBOX 138
#define IDD_USERDEFINE 147
#define IDD_ECO 150
#define IDD_OSD 154
#define IDD_OVERHEAT 155
#define IDD_HDD_DIALOG 156

// Icons.
#define IDR_MAINFRAME 128
#define IDI_HDD_ENABLE 166
#define IDI_HDD_DISABLE 167

// The HDD dialog's button faces ("PNG") and backgrounds (bitmaps).
#define IDR_PNG_HDD_YES_EN 160
#define IDR_PNG_HDD_NO_TW 161
#define IDR_PNG_HDD_NO_EN 162
#define IDR_PNG_HDD_YES_TW 163
#define IDB_HDD_TW 164
#define IDB_HDD_EN 165

// Buttons of the HDD dialog: Yes and No.
#define IDC_HDD_YES 6
#define IDC_HDD_NO 7

// Controls of the About dialog.
#define IDC_VERSION 1001
#define IDC_ASL_VERSION 1004
#define IDC_COPYRIGHT_SIGN 1018
#define IDC_COPYRIGHT 1019
#define IDC_LOGGING 1024

// Controls of the user-define key dialog.
#define IDC_UD_BROWSE 1010
#define IDC_UD_PATH 1011
#define IDC_UD_NAME 1012
#define IDC_UD_ICON 1013
#define IDC_UD_REMOVE 1014
#define IDC_UD_DOC 1015
#define IDC_UD_DOC_FRAME 1020
#define IDC_UD_CURRENT 1021
#define IDC_UD_HELP_FRAME 1022
#define IDC_UD_HELP 1023

// Controls of the overheat protection dialog.
#define IDC_OP_TITLE 1027
#define IDC_OP_MESSAGE 1028
#define IDC_OP_COUNTDOWN 1029

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
