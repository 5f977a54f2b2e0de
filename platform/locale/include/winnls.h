// The simulated build's <winnls.h>, with the language-id macros of the SDK's
// winnt.h: the user's UI language, taken from the locale of the environment.
#pragma once
#include "windef.h"

#define PRIMARYLANGID(lgid) (static_cast<WORD>(lgid) & 0x3ff)
#define SUBLANGID(lgid) (static_cast<WORD>(lgid) >> 10)
#define LANGIDFROMLCID(lcid) (static_cast<WORD>(lcid))
#define MAKELCID(lgid, srtid) \
  (static_cast<DWORD>((static_cast<DWORD>(static_cast<WORD>(srtid)) << 16) | static_cast<DWORD>(static_cast<WORD>(lgid))))
#define SORT_DEFAULT 0x0
#define LANG_ENGLISH 0x09
#define SUBLANG_ENGLISH_US 0x01

extern "C" {

// The first of LC_ALL, LC_MESSAGES and LANG that is set, as a language id:
// "de_DE.UTF-8" gives 1031, "zh_TW" 1028, a language alone its main variant;
// an unknown language, "C", "POSIX" or no setting at all give 1033 (English,
// United States).
LANGID WINAPI GetUserDefaultUILanguage(void);

}  // extern "C"
