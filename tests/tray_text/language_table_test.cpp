// The language table beside the program: the delivered Language.ini, the choice
// of section with its fallback to 1033, and reading texts.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <string>

#include <windows.h>

#include "platform/fs/sim/paths.h"
#include "tests/support/process.h"
#include "tray/ui/LanguageTable.h"

namespace {

const char* const kKeys[] = {"IDS_MENUITEM_USERDEFINE", "IDS_MENUITEM_ABOUT", "IDS_MENUITEM_EXIT",
                             "IDS_BUTTON_OK", "IDS_BUTTON_CANCEL", "IDS_BUTTON_BROWSE", "IDS_BUTTON_REMOVE",
                             "IDS_USERDEFINE_DOC", "IDS_USERDEFINE_CURRENT", "IDS_USERDEFINE_BT_DF_DOC",
                             "IDS_USERDEFINE_BT_BROWSE_DOC", "IDS_USERDEFINE_BT_REMOVE_DOC",
                             "IDS_USERDEFINE_PATH_TOO_LONG"};

struct Locale {
  explicit Locale(const char* value) { setenv("LC_ALL", value, 1); }
  ~Locale() { unsetenv("LC_ALL"); }
};

}  // namespace

TEST(LanguageTable, DeliveredTableIsCompleteAndChosenByLanguage) {
  orv::test::TempHome home;
  std::string file, section;
  {
    Locale english("en_US.UTF-8");
    ResolveLanguageTable(file, section);
  }
  EXPECT_EQ(file, "C:\\PROGRA~1\\Orv\\Calvex\\StringTable\\Language.ini");
  EXPECT_EQ(section, "1033");
  for (const char* s : {"1033", "1031", "1036", "1028"}) {
    for (const char* key : kKeys) EXPECT_FALSE(ReadLanguageString(s, key, file).empty()) << s << " " << key;
  }
  EXPECT_EQ(ReadLanguageString("1033", "IDS_MENUITEM_EXIT", file), "Exit");
  {
    Locale german("de_DE.UTF-8");
    ResolveLanguageTable(file, section);
    EXPECT_EQ(section, "1031");
    EXPECT_EQ(ReadLanguageString(section, "IDS_MENUITEM_EXIT", file), "Beenden");
  }
  {
    Locale japanese("ja_JP.UTF-8");  // no section of its own: all texts from 1033
    ResolveLanguageTable(file, section);
    EXPECT_EQ(section, "1033");
  }
  {
    // A program folder with blanks and long names is still found through its short form.
    Locale german("de_DE.UTF-8");
    setenv("ORV_PROGRAM_FOLDER", "C:\\Program Files\\Orv Notebook Utilities\\Calvex Tray", 1);
    ResolveLanguageTable(file, section);
    unsetenv("ORV_PROGRAM_FOLDER");
    EXPECT_EQ(file, "C:\\PROGRA~1\\ORVNOT~1\\CALVEX~1\\StringTable\\Language.ini");
    EXPECT_EQ(section, "1031");
  }
}

TEST(LanguageTable, ProbeKeyDecidesAndNothingFallsBackKeyByKey) {
  orv::test::TempHome home;
  CreateDirectoryA("C:\\Table", nullptr);
  const std::string file = "C:\\Table\\Language.ini";
  std::ofstream(orv::fs::MapPath(file).host, std::ios::binary)
      << "[1033]\r\nIDS_USERDEFINE_DOC=doc\r\nIDS_BUTTON_OK=OK\r\nIDS_LONG=" << std::string(3000, 'L') << "\r\n"
      << "[1031]\r\nIDS_USERDEFINE_DOC=Doku\r\n[1036]\r\nIDS_BUTTON_OK=Oui\r\n";
  // Section 1031 has the probe key but no OK text: the OK text is empty, not English.
  EXPECT_EQ(ReadLanguageString("1031", "IDS_BUTTON_OK", file), "");
  EXPECT_EQ(ReadLanguageString("1031", "IDS_USERDEFINE_DOC", file), "Doku");
  EXPECT_EQ(ReadLanguageString("1033", "IDS_LONG", file).size(), 2047u);
  EXPECT_EQ(ReadLanguageString("1033", "IDS_NONE", file), "");
  EXPECT_EQ(ReadLanguageString("1033", "IDS_BUTTON_OK", "C:\\Table\\Missing.ini"), "");
}
