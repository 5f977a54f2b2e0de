// The tray menu, the About dialog and the user-define key dialog, used as a
// person would: the real provider, service and Calvex, driven through the
// desktop's automation (orv-desktop) and read back from its windows, controls
// and the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/tray/dialogs_fixture.h"

namespace traytest {
namespace {

TEST_F(Dialogs, TheTrayMenuOpensOnARightClickOfTheMainIconOnlyAndAboutShowsTheVersionsAndSwitchesTheLog) {
  InstallService();
  StartCalvex();
  // A left click on the main icon and any click on the HDD icon: the right
  // click that follows finds no window but its own menu, and handled them first.
  const std::uint64_t before = LastEntry();
  Do({"tray", "1", "left"});
  Do({"tray", "2", "left"});
  Do({"tray", "2", "right"});
  EXPECT_EQ(OpenTrayMenu(), (std::vector<std::string>{"337\tAbout Calvex", "336\tExit"}));
  // The desktop records the showing once its frame is composed.
  std::vector<std::string> shownClasses;
  EXPECT_TRUE(WaitFor([&] {
    shownClasses.clear();
    for (const auto& e : Journal())
      if (e.seq > before && e.shown) shownClasses.push_back(e.className);
    return std::find(shownClasses.begin(), shownClasses.end(), "#32768") != shownClasses.end();
  }));
  EXPECT_EQ(shownClasses, (std::vector<std::string>{"#32768"})) << "something else opened";
  Do({"choose", "About Calvex"});
  ASSERT_TRUE(WaitWindow("About Calvex"));
  EXPECT_FALSE(Desk({"menu"}).exitCode == 0) << "the menu stayed open";

  auto about = Controls("About Calvex");
  EXPECT_EQ(about[1001][2], "NONE");
  EXPECT_EQ(about[1004][2], "17");
  EXPECT_EQ(about[1019][2], "Orv Corporation. All rights reserved.");
  EXPECT_EQ(about[1024][2], "");
  EXPECT_EQ(about[1][2], "OK");

  // Ctrl+Alt+S twice: "Logging" on and off again, the flag with it.
  Do({"key", "ctrl+alt+s"});
  EXPECT_TRUE(WaitText("About Calvex", 1024, "Logging"));
  EXPECT_EQ(Reg("HKCU\\Software\\Orv\\Calvex\\Log File", "Log File Flag"), "TRUE");

  // About chosen while About is open does nothing: the hot key pressed after it
  // is handled after it, and one About dialog is still all there is.
  Choose("About Calvex");
  ASSERT_TRUE(WaitFor([&] { return Desk({"menu"}).exitCode != 0; }));
  Do({"key", "ctrl+alt+s"});
  EXPECT_TRUE(WaitText("About Calvex", 1024, ""));
  EXPECT_EQ(Reg("HKCU\\Software\\Orv\\Calvex\\Log File", "Log File Flag"), "FALSE");
  EXPECT_EQ(CountTitled("About Calvex"), 1);

  // Escape closes it; About opens again, now with the installed version.
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone("About Calvex"));
  SetReg("HKLM\\SOFTWARE\\Orv\\Calvex", "Version", "2.1.0.5");
  Choose("About Calvex");
  ASSERT_TRUE(WaitWindow("About Calvex"));
  EXPECT_EQ(Text("About Calvex", 1001), "2.1.0.5");
  Do({"press", "About Calvex", "1"});
  ASSERT_TRUE(WaitGone("About Calvex"));
  // With the dialog closed the combination does nothing: the flag stays.
  Do({"key", "ctrl+alt+s"});
  Choose("About Calvex");
  ASSERT_TRUE(WaitWindow("About Calvex"));
  EXPECT_EQ(Text("About Calvex", 1024), "");
  Do({"key", "enter"});
  ASSERT_TRUE(WaitGone("About Calvex"));

  // Exit ends the program.
  Choose("Exit");
  EXPECT_EQ(calvex_->Wait(std::chrono::seconds(30)), 0);
}

TEST_F(Dialogs, OnAnotherMakersBiosAboutHasNoCopyrightLineTheIconsComeBackAfterTheTaskbarRestartsAndKeysWorkTheMenu) {
  Sim({"set", "bios", "R01.07AB"});
  InstallService();
  StartCalvex();
  Choose("About Calvex");
  ASSERT_TRUE(WaitWindow("About Calvex"));
  EXPECT_EQ(Text("About Calvex", 1019), "");
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone("About Calvex"));

  Do({"restart-taskbar"});
  EXPECT_TRUE(WaitFor([&] { return CalvexIcons() == std::vector<std::string>{"1 Calvex", "2 HDD Enable"}; }))
      << "the icons did not come back";
  // The menu by keys: Down to its first item, Enter chooses it.
  EXPECT_EQ(OpenTrayMenu().size(), 2u);
  Do({"key", "down", "enter"});
  ASSERT_TRUE(WaitWindow("About Calvex"));
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone("About Calvex"));
}

TEST_F(Dialogs, TheUserDefineDialogChoosesRemovesAndStoresTheProgram) {
  PlaceProgram("Tools/Notepad2.exe");
  PlaceProgram("Tools/Paint.exe");
  std::ofstream(home_->path() + "/drive_c/Tools/readme.txt") << "not a program";
  SetReg(kUserDefineKey, "UserDefineFilePath", "NONE");
  InstallService();
  StartCalvex();
  EXPECT_EQ(OpenTrayMenu().size(), 2u) << "no program set: About and Exit only";
  Do({"key", "esc"});
  ASSERT_TRUE(WaitFor([&] { return Desk({"menu"}).exitCode != 0; }));

  // A program set: the entry comes first, and opens the dialog.
  SetReg(kUserDefineKey, "UserDefineFilePath", "C:\\Tools\\Paint.exe");
  SetReg(kUserDefineKey, "UserDefineFileName", "Paint.exe");
  EXPECT_EQ(OpenTrayMenu(), (std::vector<std::string>{"338\tUser-Defined Key", "337\tAbout Calvex", "336\tExit"}));
  Do({"choose", "User-Defined Key"});
  const std::string title = "User-Defined Key";
  ASSERT_TRUE(WaitWindow(title));
  auto c = Controls(title);
  EXPECT_EQ(c[1012][2], "Paint.exe");
  EXPECT_EQ(c[1013][6], "icon");
  EXPECT_EQ(c[1010][2], "Browse...");
  EXPECT_EQ(c[1015][2], "Choose the program that the user-defined key starts.");
  EXPECT_EQ(c[1023][2], "Pick a program with Browse, then confirm with OK.");

  // The help line follows the mouse.
  auto browse = Centre(title, 1010);
  Do({"move", std::to_string(browse.first), std::to_string(browse.second)});
  EXPECT_TRUE(WaitText(title, 1023, "Look for the program file on this computer."));
  auto remove = Centre(title, 1014);
  Do({"move", std::to_string(remove.first), std::to_string(remove.second)});
  EXPECT_TRUE(WaitText(title, 1023, "Clear the setting: the key then starts nothing."));
  Do({"move", std::to_string(remove.first), std::to_string(remove.second + 60)});
  EXPECT_TRUE(WaitText(title, 1023, "Pick a program with Browse, then confirm with OK."));

  // Browse, then Cancel: the previous choice stays.
  Do({"press", title, "1010"});
  ASSERT_TRUE(WaitWindow("Open"));
  Do({"press", "Open", "2"});
  ASSERT_TRUE(WaitGone("Open"));
  EXPECT_TRUE(WaitText(title, 1012, "Paint.exe"));

  // Browse: a typed folder opens, a file that does not exist keeps the dialog
  // open, and a click on an entry then Open takes it.
  Do({"press", title, "1010"});
  ASSERT_TRUE(WaitWindow("Open"));
  EXPECT_EQ(Text("Open", 1152), "*.*");
  // Keys go to the focus: the file name field takes it first, whatever the dialog's own start.
  Do({"press", "Open", "1152"});
  for (int i = 0; i < 3; ++i) Do({"key", "back"});
  Do({"type", "Tools"});
  Do({"key", "enter"});
  ASSERT_TRUE(WaitText("Open", 1091, "C:\\Tools"));
  EXPECT_EQ(Text("Open", 1120), "..\\ Notepad2.exe Paint.exe readme.txt");
  Do({"type", "nothing.exe"});
  Do({"key", "enter"});
  EXPECT_TRUE(WaitText("Open", 1090, "File not found."));
  auto list = Centre("Open", 1120);
  auto listTop = Controls("Open")[1120][3];
  const int top = std::stoi(listTop.substr(listTop.find(' ') + 1));
  Do({"click", std::to_string(list.first), std::to_string(top + 2 + 13 + 6)});  // the second entry
  EXPECT_TRUE(WaitText("Open", 1152, "Notepad2.exe"));
  Do({"press", "Open", "1"});
  ASSERT_TRUE(WaitGone("Open"));
  EXPECT_TRUE(WaitText(title, 1012, "Notepad2.exe"));
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFilePath"), "C:\\Tools\\Paint.exe") << "stored before OK";
  Do({"press", title, "1"});
  ASSERT_TRUE(WaitGone(title));
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFilePath"), "C:\\Tools\\Notepad2.exe");
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFileName"), "Notepad2.exe");

  // Remove, then Cancel: both values are empty at once and stay so.
  Choose("User-Defined Key");
  ASSERT_TRUE(WaitWindow(title));
  EXPECT_EQ(Controls(title)[1013][6], "icon");
  Do({"press", title, "1014"});
  EXPECT_TRUE(WaitText(title, 1012, ""));
  EXPECT_EQ(Controls(title)[1013][6], "-");
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFilePath"), "");
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFileName"), "");
  Do({"press", title, "2"});
  ASSERT_TRUE(WaitGone(title));
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFilePath"), "");
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFileName"), "");

  // OK with nothing chosen stores nothing: a value written meanwhile stays.
  SetReg(kUserDefineKey, "UserDefineFilePath", "C:\\Tools\\Paint.exe");
  Choose("User-Defined Key");
  ASSERT_TRUE(WaitWindow(title));
  Do({"press", title, "1014"});
  EXPECT_TRUE(WaitFor([&] { return Reg(kUserDefineKey, "UserDefineFilePath").empty(); }));
  SetReg(kUserDefineKey, "UserDefineFileName", "kept.exe");
  Do({"press", title, "1"});
  ASSERT_TRUE(WaitGone(title));
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFilePath"), "");
  EXPECT_EQ(Reg(kUserDefineKey, "UserDefineFileName"), "kept.exe");
  EXPECT_EQ(OpenTrayMenu().size(), 2u) << "no program set any more";
  Do({"key", "esc"});
}

TEST_F(Dialogs, ALongProgramPathIsKeptInItsShortFormSoThatItReadsBackWhole) {
  const std::string folder = "Program Files/A folder whose name is long enough to matter here/"
                             "And another folder below it with a long name too";
  PlaceProgram(folder + "/The program with a long name.exe");
  std::string windows = "C:\\" + folder + "\\The program with a long name.exe";
  for (char& ch : windows)
    if (ch == '/') ch = '\\';
  ASSERT_GE(windows.size(), 128u);
  SetReg(kUserDefineKey, "UserDefineFilePath", "C:\\Tools\\Paint.exe");
  InstallService();
  StartCalvex();
  Choose("User-Defined Key");
  const std::string title = "User-Defined Key";
  ASSERT_TRUE(WaitWindow(title));
  Do({"press", title, "1010"});
  ASSERT_TRUE(WaitWindow("Open"));
  Do({"press", "Open", "1152"});
  for (int i = 0; i < 3; ++i) Do({"key", "back"});
  Do({"type", windows});
  Do({"key", "enter"});
  ASSERT_TRUE(WaitGone("Open"));
  EXPECT_TRUE(WaitText(title, 1012, "The program with a long name.exe"));
  Do({"key", "enter"});
  ASSERT_TRUE(WaitGone(title));
  const std::string stored = Reg(kUserDefineKey, "UserDefineFilePath");
  EXPECT_LE(stored.size(), 127u);
  EXPECT_EQ(stored.rfind("C:\\PROGRA~1\\", 0), 0u) << stored;
  EXPECT_NE(stored.find("~1\\THEPRO~1.EXE"), std::string::npos) << stored;
  // The stored short form names the program: the dialog finds its icon again.
  Choose("User-Defined Key");
  ASSERT_TRUE(WaitWindow(title));
  EXPECT_EQ(Controls(title)[1013][6], "icon");
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone(title));
}

TEST_F(Dialogs, TextsComeFromTheUsersLanguageOrAllFromEnglish) {
  SetReg(kUserDefineKey, "UserDefineFilePath", "C:\\Tools\\Paint.exe");
  Language("zh_TW.UTF-8");
  InstallService();
  StartCalvex();
  EXPECT_EQ(OpenTrayMenu(), (std::vector<std::string>{"338\t自訂按鍵", "337\t關於 Calvex", "336\t結束"}));
  Do({"choose", "自訂按鍵"});
  ASSERT_TRUE(WaitWindow("自訂按鍵"));
  EXPECT_EQ(Text("自訂按鍵", 2), "取消");
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone("自訂按鍵"));
  ASSERT_EQ(StopCalvex(), 0);

  // Japanese has no section: every text comes from 1033.
  Language("ja_JP.UTF-8");
  StartCalvex();
  Choose("User-Defined Key");
  ASSERT_TRUE(WaitWindow("User-Defined Key"));
  EXPECT_EQ(Text("User-Defined Key", 1014), "Remove");
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone("User-Defined Key"));
}

TEST_F(Dialogs, WithUserDefineIniTheMenuNeverOffersTheUserDefineEntryAndItsCommandIsIgnored) {
  InstallService();
  StartInstalled("[QZL]\r\nQZL=C:\\Tools\\Paint.exe\r\n");
  EXPECT_TRUE(WaitFor([&] { return Reg(kUserDefineKey, "UserDefineFilePath") == "C:\\Tools\\Paint.exe"; }));
  EXPECT_EQ(OpenTrayMenu(), (std::vector<std::string>{"337\tAbout Calvex", "336\tExit"}));
  Do({"key", "esc"});
  ASSERT_TRUE(WaitFor([&] { return Desk({"menu"}).exitCode != 0; }));
  // The command sent anyway is handled before the About command after it: once
  // About shows, the user-define dialog would have opened first.
  Do({"command", "Calvex", "338"});
  Do({"command", "Calvex", "337"});
  ASSERT_TRUE(WaitWindow("About Calvex"));
  EXPECT_EQ(CountTitled("User-Defined Key"), 0);
  Do({"key", "esc"});
  ASSERT_TRUE(WaitGone("About Calvex"));
}

// The places the desktop gives for the main icon, the menu's items and the
// About dialog's OK button are where plain clicks at screen points reach them.
TEST_F(Dialogs, ClicksAtThePlacesTheDesktopGivesOpenTheMenuChooseAboutAndCloseIt) {
  InstallService();
  StartCalvex();
  EXPECT_NE(Desk({"tray-place", "99"}).exitCode, 0) << "an icon that is not there has no place";
  EXPECT_NE(Desk({"menu-places"}).exitCode, 0) << "no menu is open yet";
  auto icon = orv::test::Run({Program("orv-desktop"), "tray-place", "1"});
  ASSERT_EQ(icon.exitCode, 0) << icon.err;
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(std::sscanf(icon.out.c_str(), "%d %d %d %d", &x, &y, &w, &h), 4) << icon.out;
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  Do({"click", std::to_string(x + w / 2), std::to_string(y + h / 2), "right"});
  std::vector<std::string> items;
  ASSERT_TRUE(WaitFor([&] {
    auto r = Desk({"menu-places"});
    items = Lines(r.out);
    return r.exitCode == 0;
  })) << "the right click at the icon's place opened no menu";
  std::vector<int> about;
  for (const std::string& line : items) {
    auto f = Fields(line);
    ASSERT_EQ(f.size(), 3u) << line;
    std::istringstream place(f[2]);
    std::vector<int> r(4);
    place >> r[0] >> r[1] >> r[2] >> r[3];
    EXPECT_GT(r[2], 0);
    EXPECT_GT(r[3], 0);
    if (f[1] == "About Calvex") about = r;
  }
  ASSERT_EQ(about.size(), 4u) << "no About item among the places";
  Do({"click", std::to_string(about[0] + about[2] / 2), std::to_string(about[1] + about[3] / 2)});
  ASSERT_TRUE(WaitWindow("About Calvex"));
  auto ok = Controls("About Calvex")[1];
  ASSERT_EQ(ok.size(), 7u);
  std::istringstream place(ok[3]);
  int bx = 0, by = 0, bw = 0, bh = 0;
  place >> bx >> by >> bw >> bh;
  Do({"click", std::to_string(bx + bw / 2), std::to_string(by + bh / 2)});
  EXPECT_TRUE(WaitGone("About Calvex"));
}

}  // namespace
}  // namespace traytest
