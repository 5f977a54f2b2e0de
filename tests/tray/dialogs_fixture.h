// The dialog tests' fixture: the notebook's programs in the user's language,
// driven through the desktop's automation (orv-desktop) and read back from its
// windows, controls and the registry.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/sim/png.h"
#include "tests/tray/program_file.h"
#include "tests/tray/tray_fixture.h"

namespace traytest {

using orv::test::Program;
using orv::test::WaitFor;

constexpr const char* kUserDefineKey = "HKCU\\Software\\Orv\\Calvex\\User Define Key";

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

inline std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

class Dialogs : public Notebook {
 protected:
  void SetUp() override {
    const char* lang = std::getenv("LANG");
    savedLang_ = lang ? lang : "";
    hadLang_ = lang != nullptr;
    Language("en_US.UTF-8");
    Notebook::SetUp();
  }
  void TearDown() override {
    Notebook::TearDown();
    if (hadLang_) setenv("LANG", savedLang_.c_str(), 1);
    else unsetenv("LANG");
  }
  // The user's language for the programs started from now on.
  void Language(const char* lang) {
    setenv("LANG", lang, 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
  }

  orv::test::RunResult Desk(const std::vector<std::string>& words) {
    std::vector<std::string> argv{Program("orv-desktop")};
    argv.insert(argv.end(), words.begin(), words.end());
    return orv::test::Run(argv);
  }
  void Do(const std::vector<std::string>& words) {
    auto r = Desk(words);
    ASSERT_EQ(r.exitCode, 0) << words[0] << ": " << r.err;
  }
  std::vector<std::string> Titles() {
    std::vector<std::string> out;
    for (const std::string& line : Lines(Desk({"windows"}).out)) out.push_back(Fields(line).back());
    return out;
  }
  int CountTitled(const std::string& title) {
    int n = 0;
    for (const std::string& t : Titles()) n += t == title;
    return n;
  }
  bool WaitWindow(const std::string& title) { return WaitFor([&] { return CountTitled(title) > 0; }); }
  bool WaitGone(const std::string& title) { return WaitFor([&] { return CountTitled(title) == 0; }); }
  // The controls of a window by id: their lines' fields.
  std::map<int, std::vector<std::string>> Controls(const std::string& title) {
    std::map<int, std::vector<std::string>> out;
    for (const std::string& line : Lines(Desk({"controls", title}).out)) {
      auto f = Fields(line);
      if (f.size() >= 7) out[std::stoi(f[0])] = f;
    }
    return out;
  }
  std::string Text(const std::string& title, int id) {
    auto c = Controls(title);
    return c.count(id) ? c[id][2] : "<no control>";
  }
  bool WaitText(const std::string& title, int id, const std::string& text) {
    return WaitFor([&] { return Text(title, id) == text; });
  }
  // Right-clicks the main icon and gives the menu's items ("id\ttext") once it is open.
  std::vector<std::string> OpenTrayMenu() {
    Do({"tray", "1", "right"});
    std::vector<std::string> items;
    EXPECT_TRUE(WaitFor([&] {
      auto r = Desk({"menu"});
      items = Lines(r.out);
      return r.exitCode == 0;
    })) << "no menu opened";
    return items;
  }
  void Choose(const std::string& item) {
    ASSERT_FALSE(OpenTrayMenu().empty());
    Do({"choose", item});
  }
  std::string Reg(const std::string& key, const std::string& name) {
    auto r = orv::test::Run({Program("orv-reg"), "get", key, name});
    if (r.exitCode != 0) return "<missing>";
    std::string out = r.out;
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  }
  void SetReg(const std::string& key, const std::string& name, const std::string& text) {
    auto r = orv::test::Run({Program("orv-reg"), "set", key, name, text});
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  // A program file with an icon (of the test's resources) at the Windows path C:\<relative>.
  void PlaceProgram(const std::string& relative, int icon = 128) {
    std::filesystem::path host = home_->path() + "/drive_c/" + relative;
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << ProgramFileWithIcon(icon);
  }
  // Starts a copy of Calvex installed in a folder of this test's own, with the
  // settings file UserDefine.ini beside it (when ini is not empty) and the
  // language table given (the delivered one when empty); waits for its desktop.
  void StartInstalled(const std::string& ini, const std::string& languageTable = std::string()) {
    const std::string folder = home_->path() + "/installed";
    std::filesystem::create_directories(folder + "/StringTable");
    std::filesystem::copy_file(Program("Calvex"), folder + "/Calvex",
                               std::filesystem::copy_options::overwrite_existing);
    const std::string table = folder + "/StringTable/Language.ini";
    if (languageTable.empty())
      std::filesystem::copy_file(orv::test::BinDir() + "/StringTable/Language.ini", table,
                                 std::filesystem::copy_options::overwrite_existing);
    else
      std::ofstream(table, std::ios::binary) << languageTable;
    std::filesystem::remove(folder + "/UserDefine.ini");
    if (!ini.empty()) std::ofstream(folder + "/UserDefine.ini", std::ios::binary) << ini;
    calvex_ = std::make_unique<orv::test::Child>(std::vector<std::string>{folder + "/Calvex"});
    calvexPid_ = calvex_->pid();
    AwaitDesktop();
  }
  // What the screen shows of a control (its rectangle, from a fresh screenshot);
  // empty when either cannot be had now (a busy desktop may not answer in time).
  std::vector<orv::gfx::Pixel> PixelsOf(const std::string& title, int id) {
    auto c = Controls(title);
    std::vector<orv::gfx::Pixel> out;
    if (!c.count(id)) return out;
    std::istringstream r(c[id][3]);
    int x, y, w, h;
    r >> x >> y >> w >> h;
    const std::string path = home_->path() + "/control.png";
    orv::gfx::Surface shot;
    if (Desk({"screenshot", path}).exitCode != 0 || orv::gfx::LoadPngFile(path, &shot) != orv::gfx::Ok) return out;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i)
        if (shot.Contains(i, j)) out.push_back(shot.At(i, j));
    return out;
  }
  // The centre of a control on the screen.
  std::pair<int, int> Centre(const std::string& title, int id) {
    auto c = Controls(title);
    if (!c.count(id)) return {-1, -1};
    std::istringstream r(c[id][3]);
    int x, y, w, h;
    r >> x >> y >> w >> h;
    return {x + w / 2, y + h / 2};
  }

  std::string savedLang_;
  bool hadLang_ = false;
};

}  // namespace traytest
