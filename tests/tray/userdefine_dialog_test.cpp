// The user-define key dialog's edges, used as a person would with the real
// programs: a program chosen when none was set, each program's own icon, a path
// too long to keep (refused with a message, or stored in its short form, from
// the dialog and from UserDefine.ini at start-up), the readers' 127-character
// limit, and a language section without the dialog's probe key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tray/dialogs_fixture.h"

namespace traytest {
namespace {

const std::string kTitle = "User-Defined Key";
const char kTooLong[] = "The path of this program is too long. Choose a program in a shorter folder.";
constexpr int kMessageText = 0xFFFF;  // the message box's text

// A folder 14 deep, for a program of 214 characters and 136 even in its short form.
const std::string kDeepFolder = [] {
  std::string f = "Deep";
  for (int i = 0; i < 13; ++i) f += "/FolderNumber" + std::to_string(10 + i);
  return f;
}();

// C:\ and the relative path with backslashes.
std::string Windows(const std::string& relative) {
  std::string out = "C:\\" + relative;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

class UserDefine : public Dialogs {
 protected:
  // Calvex with the service, once its main window has hidden itself, so that
  // every window of its title is a message box.
  void Start() {
    InstallService();
    StartCalvex();
    ASSERT_TRUE(WaitFor([&] { return CountTitled("Calvex") == 0; }));
  }
  // Browse, the path typed into the file dialog, Enter: the dialog closes.
  void BrowseTo(const std::string& path) {
    Do({"press", kTitle, "1010"});
    ASSERT_TRUE(WaitWindow("Open"));
    Do({"press", "Open", "1152"});
    for (int i = 0; i < 3; ++i) Do({"key", "back"});
    Do({"type", path});
    Do({"key", "enter"});
    ASSERT_TRUE(WaitGone("Open"));
  }
  // The icon control's pixels once they differ from `other`.
  std::vector<orv::gfx::Pixel> IconOtherThan(const std::vector<orv::gfx::Pixel>& other) {
    std::vector<orv::gfx::Pixel> now;
    EXPECT_TRUE(WaitFor([&] {
      now = PixelsOf(kTitle, 1013);
      return !now.empty() && now != other;
    }));
    return now;
  }
};

TEST_F(UserDefine, AProgramChosenWhenNoneWasSetGivesTheMenuThreeEntriesAndEachProgramShowsItsOwnIcon) {
  PlaceProgram("Tools/Paint.exe", 166);
  PlaceProgram("Tools/Notepad2.exe", 167);
  SetReg(kUserDefineKey, "UserDefineFilePath", "NONE");
  Start();
  EXPECT_EQ(OpenTrayMenu().size(), 2u);
  Do({"key", "esc"});
  ASSERT_TRUE(WaitFor([&] { return Desk({"menu"}).exitCode != 0; }));
  // With none set the dialog comes by its command, as the user-defined key brings it.
  Do({"command", "Calvex", "338"});
  ASSERT_TRUE(WaitWindow(kTitle));
  EXPECT_EQ(Controls(kTitle)[1013][6], "-");
  const std::vector<orv::gfx::Pixel> none = PixelsOf(kTitle, 1013);

  BrowseTo("C:\\Tools\\Paint.exe");
  ASSERT_TRUE(WaitText(kTitle, 1012, "Paint.exe"));
  const auto paint = IconOtherThan(none);
  BrowseTo("C:\\Tools\\Notepad2.exe");
  ASSERT_TRUE(WaitText(kTitle, 1012, "Notepad2.exe"));
  const auto notepad = IconOtherThan(paint);
  EXPECT_NE(notepad, none);
  // Browse, then Cancel: the icon shown stays.
  Do({"press", kTitle, "1010"});
  ASSERT_TRUE(WaitWindow("Open"));
  Do({"press", "Open", "2"});
  ASSERT_TRUE(WaitGone("Open"));
  EXPECT_TRUE(WaitFor([&] { return PixelsOf(kTitle, 1013) == notepad; }));
  EXPECT_EQ(Text(kTitle, 1012), "Notepad2.exe");

  Do({"press", kTitle, "1"});
  ASSERT_TRUE(WaitGone(kTitle));
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFilePath"), "C:\\Tools\\Notepad2.exe");
  EXPECT_EQ(OpenTrayMenu(), (std::vector<std::string>{"338\tUser-Defined Key", "337\tAbout Calvex", "336\tExit"}));
  Do({"key", "esc"});
}

TEST_F(UserDefine, APathTooLongEvenInItsShortFormIsRefusedWithAMessageThatStaysAndTheChoiceIsKept) {
  PlaceProgram(kDeepFolder + "/Program.exe");
  const std::string deep = Windows(kDeepFolder + "/Program.exe");
  ASSERT_EQ(deep.size(), 214u);
  PlaceProgram("Tools/Paint.exe");
  SetReg(kUserDefineKey, "UserDefineFilePath", "C:\\Tools\\Paint.exe");
  SetReg(kUserDefineKey, "UserDefineFileName", "Paint.exe");
  Start();
  Choose(kTitle);
  ASSERT_TRUE(WaitWindow(kTitle));
  BrowseTo(deep);
  // The message box stays until the user closes it; the dialog waits behind it.
  ASSERT_TRUE(WaitText("Calvex", kMessageText, kTooLong));
  EXPECT_EQ(Controls("Calvex")[1][2], "OK");
  // The dialog behind takes no click meanwhile.
  Do({"press", kTitle, "1"});
  Do({"press", "Calvex", "1"});
  ASSERT_TRUE(WaitGone("Calvex"));
  EXPECT_EQ(Text(kTitle, 1012), "Paint.exe");
  Do({"press", kTitle, "1"});
  ASSERT_TRUE(WaitGone(kTitle));
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFilePath"), "C:\\Tools\\Paint.exe");
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFileName"), "Paint.exe");
}

TEST_F(UserDefine, StartUpKeepsALongPathFromUserDefineIniInItsShortFormAndOneTooLongAsNone) {
  const std::string folder = "Program Files/A folder whose name is long enough to matter here/"
                             "And another folder below it with a long name too";
  PlaceProgram(folder + "/The program with a long name.exe");
  const std::string longPath = Windows(folder + "/The program with a long name.exe");
  ASSERT_GE(longPath.size(), 128u);
  PlaceProgram(kDeepFolder + "/Program.exe");
  InstallService();
  StartInstalled("[QZL]\r\nQZL=" + longPath + "\r\n");
  std::string stored;
  EXPECT_TRUE(WaitFor([&] {
    stored = Reg(kUserDefineKey, "UserDefineFilePath");
    return stored.rfind("C:\\PROGRA~1\\", 0) == 0;
  })) << stored;
  EXPECT_LE(stored.size(), 127u);
  EXPECT_NE(stored.find("~1\\THEPRO~1.EXE"), std::string::npos) << stored;
  ASSERT_EQ(StopCalvex(), 0);

  // Too long even in its short form: no program is set, not the earlier one.
  StartInstalled("[QZL]\r\nQZL=" + Windows(kDeepFolder + "/Program.exe") + "\r\n");
  EXPECT_TRUE(WaitFor([&] { return Reg(kUserDefineKey, "UserDefineFilePath").empty(); }))
      << Reg(kUserDefineKey, "UserDefineFilePath");
}

TEST_F(UserDefine, ValuesOf127CharactersReadBackWholeAndOf128AsNone) {
  const std::string name127 = std::string(123, 'n') + ".exe";
  const std::string path127 = "C:\\" + std::string(120, 'p') + ".exe";
  SetReg(kUserDefineKey, "UserDefineFilePath", path127);
  SetReg(kUserDefineKey, "UserDefineFileName", name127);
  Start();
  EXPECT_EQ(OpenTrayMenu().size(), 3u) << "a path of 127 characters is a program";
  Do({"choose", kTitle});
  ASSERT_TRUE(WaitWindow(kTitle));
  EXPECT_EQ(Text(kTitle, 1012), name127);
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone(kTitle));

  SetReg(kUserDefineKey, "UserDefineFileName", name127 + "x");
  Choose(kTitle);
  ASSERT_TRUE(WaitWindow(kTitle));
  EXPECT_EQ(Text(kTitle, 1012), "");
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone(kTitle));
  SetReg(kUserDefineKey, "UserDefineFilePath", path127 + "x");
  EXPECT_EQ(OpenTrayMenu().size(), 2u) << "a path of 128 characters reads as none";
  Do({"key", "esc"});
}

TEST_F(UserDefine, ALanguageSectionWithoutTheDialogsProbeKeyTakesEveryTextFromEnglish) {
  // The delivered table, with the German section lacking IDS_USERDEFINE_DOC only.
  std::string table;
  {
    std::ifstream in(orv::test::BinDir() + "/StringTable/Language.ini", std::ios::binary);
    std::string line, section;
    while (std::getline(in, line)) {
      if (!line.empty() && line[0] == '[') section = line;
      if (section.rfind("[1031]", 0) == 0 && line.rfind("IDS_USERDEFINE_DOC=", 0) == 0) continue;
      table += line + "\n";
    }
  }
  ASSERT_NE(table.find("IDS_BUTTON_REMOVE=Entfernen"), std::string::npos);
  SetReg(kUserDefineKey, "UserDefineFilePath", "C:\\Tools\\Paint.exe");
  Language("de_DE.UTF-8");
  InstallService();
  StartInstalled(std::string(), table);
  EXPECT_EQ(OpenTrayMenu(), (std::vector<std::string>{"338\tUser-Defined Key", "337\tAbout Calvex", "336\tExit"}));
  Do({"choose", kTitle});
  ASSERT_TRUE(WaitWindow(kTitle));
  auto c = Controls(kTitle);
  EXPECT_EQ(c[1015][2], "Choose the program that the user-defined key starts.");
  EXPECT_EQ(c[1014][2], "Remove");
  EXPECT_EQ(c[2][2], "Cancel");
  EXPECT_EQ(c[1023][2], "Pick a program with Browse, then confirm with OK.");
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone(kTitle));
}

}  // namespace
}  // namespace traytest
