// Resource ids of the resource tests' script (controls.rc).
#pragma once

#define IDD_FORM 201
#define IDD_EMPTY 202
#define IDD_ALL 203
#define IDC_NAME_LABEL 1000
#define IDC_NAME 1001
#define IDC_SECOND 1002
#define IDI_TEST 301
#define IDR_DATA 302
#define IDB_TEST 303
#define IDR_GERMAN 304
