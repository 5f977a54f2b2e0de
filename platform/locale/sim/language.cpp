// Locale names to Windows language ids: the language and country give the id of
// that country's variant; a language alone gives its main variant.
#include "platform/locale/sim/language.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace orv::locale {
namespace {

struct Entry {
  const char* language;
  const char* country;  // null: the language's main variant
  LANGID id;
};

constexpr Entry kLanguages[] = {
    {"en", "US", 1033}, {"en", "GB", 2057}, {"en", "AU", 3081}, {"en", "CA", 4105}, {"en", nullptr, 1033},
    {"de", "DE", 1031}, {"de", "CH", 2055}, {"de", "AT", 3079}, {"de", nullptr, 1031},
    {"fr", "FR", 1036}, {"fr", "BE", 2060}, {"fr", "CA", 3084}, {"fr", "CH", 4108}, {"fr", nullptr, 1036},
    {"zh", "TW", 1028}, {"zh", "CN", 2052}, {"zh", "HK", 3076}, {"zh", "SG", 4100}, {"zh", nullptr, 2052},
    {"ja", nullptr, 1041}, {"ko", nullptr, 1042},
    {"es", "ES", 3082}, {"es", "MX", 2058}, {"es", nullptr, 3082},
    {"it", nullptr, 1040}, {"nl", "BE", 2067}, {"nl", nullptr, 1043},
    {"pt", "BR", 1046}, {"pt", "PT", 2070}, {"pt", nullptr, 1046},
    {"ru", nullptr, 1049}, {"pl", nullptr, 1045}, {"cs", nullptr, 1029}, {"sk", nullptr, 1051},
    {"hu", nullptr, 1038}, {"sv", nullptr, 1053}, {"da", nullptr, 1030}, {"fi", nullptr, 1035},
    {"nb", nullptr, 1044}, {"no", nullptr, 1044}, {"el", nullptr, 1032}, {"tr", nullptr, 1055},
    {"ar", nullptr, 1025}, {"he", nullptr, 1037}, {"th", nullptr, 1054}, {"uk", nullptr, 1058},
};

constexpr LANGID kEnglishUs = 1033;

}  // namespace

LANGID LanguageIdOf(const std::string& locale) {
  // "ll_CC.codeset@modifier": only ll and CC matter.
  std::string name = locale.substr(0, locale.find_first_of(".@"));
  auto sep = name.find_first_of("_-");
  std::string language = name.substr(0, sep);
  std::string country = sep == std::string::npos ? "" : name.substr(sep + 1);
  for (char& c : language) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : country) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const Entry& e : kLanguages) {
    if (language == e.language && e.country && country == e.country) return e.id;
  }
  for (const Entry& e : kLanguages) {
    if (language == e.language && !e.country) return e.id;
  }
  return kEnglishUs;
}

}  // namespace orv::locale

extern "C" LANGID WINAPI GetUserDefaultUILanguage(void) {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return orv::locale::LanguageIdOf(value);
  }
  return orv::locale::kEnglishUs;
}
