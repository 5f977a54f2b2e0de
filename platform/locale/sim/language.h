// Locale names of this machine as Windows language identifiers, the ground of
// GetUserDefaultUILanguage.
#pragma once
#include <windows.h>

#include <string>

namespace orv::locale {

// The language id of one locale name ("fr_FR.UTF-8@euro", "ja", ...); 1033 when unknown.
LANGID LanguageIdOf(const std::string& locale);

}  // namespace orv::locale
