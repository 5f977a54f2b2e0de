// The simulated build's <winnls.h>, with the language-id macros of the SDK's
// winnt.h: the user's UI language, taken from the locale of the environment.
#pragma once
#include "windef.h"

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_SYS_DEFAULT 0x02
#define SUBLANG_ENGLISH_US 0x01
#define SORT_DEFAULT 0x0
#define MAKELANGID(p, s) (static_cast<WORD>((static_cast<WORD>(s) << 10) | static_cast<WORD>(p)))
#define PRIMARYLANGID(lgid) (static_cast<WORD>(lgid) & 0x3ff)
#define SUBLANGID(lgid) (static_cast<WORD>(lgid) >> 10)
#define LANGIDFROMLCID(lcid) (static_cast<WORD>(lcid))
#define MAKELCID(lgid, srtid) \
  (static_cast<DWORD>((static_cast<DWORD>(static_cast<WORD>(srtid)) << 16) | static_cast<DWORD>(static_cast<WORD>(lgid))))
#define LANG_SYSTEM_DEFAULT MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT)
#define LANG_USER_DEFAULT MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)
#define LOCALE_USER_DEFAULT MAKELCID(LANG_USER_DEFAULT, SORT_DEFAULT)

extern "C" {

// The first of LC_ALL, LC_MESSAGES and LANG that is set, as a language id:
// "de_DE.UTF-8" gives 1031, "zh_TW" 1028, a language alone its main variant;
// an unknown language, "C", "POSIX" or no setting at all give 1033 (English,
// United States).
LANGID WINAPI GetUserDefaultUILanguage(void);

}  // extern "C"
