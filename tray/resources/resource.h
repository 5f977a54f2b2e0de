// Resource ids of the tray program Calvex (resource script Calvex.rc).
#pragma once

// Dialog templates.
#define IDD_CALVEX_DIALOG 102
#define IDD_OSD 154

// Icons.
#define IDR_MAINFRAME 128
#define IDI_HDD_ENABLE 166
#define IDI_HDD_DISABLE 167
