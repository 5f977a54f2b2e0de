// The user's default UI language as a Windows language identifier, taken from the
// locale of the environment: the first of LC_ALL, LC_MESSAGES and LANG that is
// set. "de_DE.UTF-8" gives 1031, "zh_TW" 1028; an unknown language and "C" or
// "POSIX" give 1033 (English, United States).
#pragma once
#include <string>

#include "platform/base/types.h"

namespace orv::win {

LANGID GetUserDefaultUILanguage();

}  // namespace orv::win

namespace orv::locale {

// The language id of one locale name ("fr_FR.UTF-8@euro", "ja", ...); 1033 when unknown.
orv::win::LANGID LanguageIdOf(const std::string& locale);

}  // namespace orv::locale
