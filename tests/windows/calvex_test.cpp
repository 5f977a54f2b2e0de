// Calvex.exe under wine on an X display: one copy only, exactly its start-up
// lines in order, its tray icon, an OSD picture for a firmware event posted to
// its window, and exactly the exit command's teardown lines in order.
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/windows/wine_fixture.h"

namespace orv::test {
namespace {

using WineCalvex = WineTest;

struct Area {
  int left, top, right, bottom;
};

// How many pixels of the area are not the empty screen's black.
int Lit(WineSession& wine, Area area) {
  int width = 0, height = 0;
  std::vector<std::uint32_t> screen = wine.Screen(&width, &height);
  int lit = 0;
  for (int y = area.top; y < area.bottom && y < height; ++y)
    for (int x = area.left; x < area.right && x < width; ++x)
      if (screen[static_cast<std::size_t>(y) * width + x] != 0) ++lit;
  return lit;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// The texts of the log's timed entries ("<<MM month DD date  hh:mm:ss:mmm>>  text "),
// one a line, in order; other lines are passed over.
std::vector<std::string> TimedEntries(const std::string& log) {
  std::vector<std::string> entries;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t end = line.find(">>  ");
    if (line.rfind("<<", 0) != 0 || end == std::string::npos) continue;
    std::string text = line.substr(end + 4);
    if (!text.empty() && text.back() == ' ') text.pop_back();
    entries.push_back(text);
  }
  return entries;
}

// The entries from the first one that is first up to the first one that is last, both included.
std::vector<std::string> Span(const std::vector<std::string>& entries, const std::string& first,
                              const std::string& last) {
  auto from = std::find(entries.begin(), entries.end(), first);
  auto to = std::find(from, entries.end(), last);
  return to == entries.end() ? std::vector<std::string>(from, to) : std::vector<std::string>(from, to + 1);
}

const std::vector<std::string> kStartUp = {
    "OnInitial Function",
    "\t Confirm Log's Status",
    "\t Register WMI event",
    "\t Define Language",
    "\t Set Icon and Set WindowsText",
    "\t Move Calvex's Windows",
    "\t Set Tray Icon",
    "\t Register KB Hook event",
    "\t Load KBHook.dll",
    "\t Define OSD and ICON",
    "\t Define User Define key ",
    "\t Register Audio's Event in Vista ",
    "\t Register Brightness's Event in Vista ",
    "\t Define ECO in Vista",
    "\t Set Timer to Hide Windows",
    "\t Register Calvex to EC",
    "\t Register PowerSetting Event in vista",
    "\t Confirm User Define Function",
    "\t Confirm ASL Code",
    "\t Confirm HDD Function",
    "\t Define Audio and Brightness value"};

const std::vector<std::string> kTeardown = {"On Destroy Function", "\t UnRegister Calvex to EC",
                                            "\t UnLoad KBHook.dll", "\t Delete Tray Icon."};

TEST_F(WineCalvex, RunsOnceLogsItsStartShowsItsIconAndAnOsdAndTearsDownInOrder) {
  const std::string log = wine().DriveC(std::string("C:\\users\\") + getpwuid(getuid())->pw_name +
                                        "\\Documents\\CalvexLogFile.txt");
  ASSERT_EQ(wine().Run("reg", {"add", "HKCU\\Software\\Orv\\Calvex\\Log File", "/v", "Log File Flag", "/d",
                               "TRUE", "/f"})
                .exitCode,
            0);
  // The start-up announces the program to the firmware through the service and
  // waits for its answer, so the service runs first.
  ASSERT_EQ(Lines(wine().Run("OrvService.exe", {"-install"}).out), "Orv Calvex installed.\nOrv Calvex started.\n");
  const Area trayArea{0, 0, 400, 120}, osdArea{880, 400, 1280, 800};
  ASSERT_EQ(Lit(wine(), trayArea), 0);

  const std::size_t logBefore = ReadAll(log).size();
  std::unique_ptr<Child> calvex = wine().Launch("Calvex.exe", {});
  ASSERT_TRUE(WaitFor([&] { return ReadAll(log).find(kStartUp.back()) != std::string::npos; },
                      std::chrono::seconds(120)))
      << ReadAll(log);
  // Exactly the start-up's entries, in order: one for each step, and none for a step that did not run.
  EXPECT_EQ(Span(TimedEntries(ReadAll(log).substr(logBefore)), kStartUp.front(), kStartUp.back()), kStartUp)
      << ReadAll(log);
  // The notification area (wine's own tray window, with no tray on the display)
  // shows the program's icon.
  EXPECT_TRUE(WaitFor([&] { return Lit(wine(), trayArea) > 100; }, std::chrono::seconds(30)));

  // A second copy ends at once and leaves the first running.
  RunResult second = wine().Run("Calvex.exe", {}, std::chrono::seconds(60));
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_TRUE(calvex->Running());

  // A firmware event posted to the main window: the wireless picture beside the
  // taskbar's corner, gone again when its two seconds are over.
  ASSERT_EQ(Lit(wine(), osdArea), 0);
  ASSERT_EQ(wine().Run("post_message.exe", {"Calvex", "0x4040", "0x5F", "1"}).exitCode, 0);
  EXPECT_TRUE(WaitFor([&] { return Lit(wine(), osdArea) > 1000; }, std::chrono::seconds(30)));
  EXPECT_TRUE(WaitFor([&] { return ReadAll(log).find("It's Wirelees's WMIevent") != std::string::npos; }));
  EXPECT_TRUE(WaitFor([&] { return Lit(wine(), osdArea) == 0; }, std::chrono::seconds(30)));

  // The tray menu's exit command ends the program after its teardown.
  ASSERT_EQ(wine().Run("post_message.exe", {"Calvex", "0x0111", "336", "0"}).exitCode, 0);
  EXPECT_EQ(calvex->Wait(std::chrono::seconds(60)), 0);
  EXPECT_EQ(Span(TimedEntries(ReadAll(log).substr(logBefore)), kTeardown.front(), kTeardown.back()), kTeardown)
      << ReadAll(log);
  EXPECT_TRUE(WaitFor([&] { return Lit(wine(), trayArea) == 0; }, std::chrono::seconds(30)));

  wine().Run("OrvService.exe", {"-remove"});
}

}  // namespace
}  // namespace orv::test
