// The notebook fixture: starting and stopping the real programs, screenshots,
// the log file and the notification area's record.
#include "tests/tray/tray_fixture.h"

#include <pwd.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/audio/sim/census.h"
#include "platform/desktop/sim/frame_server.h"
#include "platform/gfx/sim/png.h"

namespace traytest {
namespace {

using orv::test::Program;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The logged-on user as the programs name it (the account, not $USER).
std::string UserName() {
  const passwd* pw = getpwuid(geteuid());
  return pw && pw->pw_name ? pw->pw_name : "user";
}

}  // namespace

void Notebook::SetUp() {
  home_ = std::make_unique<orv::test::TempHome>();
  std::filesystem::create_directories(home_->path() + "/drive_c/Users/" + UserName() + "/Documents");
  auto r = orv::test::Run({Program("orv-sim"), "start"});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
}

void Notebook::TearDown() {
  if (calvex_ && calvex_->Running()) StopCalvex();
  calvex_.reset();
  if (serviceInstalled_) orv::test::Run({Program("OrvService"), "-remove"});
  orv::test::Run({Program("orv-sim"), "stop"});
  home_.reset();
}

void Notebook::Sim(const std::vector<std::string>& words) {
  std::vector<std::string> argv{Program("orv-sim")};
  argv.insert(argv.end(), words.begin(), words.end());
  auto r = orv::test::Run(argv);
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
}

void Notebook::InstallService() {
  auto r = orv::test::Run({Program("OrvService"), "-install"});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  serviceInstalled_ = true;
  ASSERT_TRUE(orv::test::WaitFor(
      [] { return orv::test::Run({Program("orv-scm"), "query", "Orv Calvex"}).out.find("RUNNING") != std::string::npos; },
      std::chrono::seconds(30)));
}

void Notebook::SetLogFlag(const std::string& text) {
  auto r = orv::test::Run({Program("orv-reg"), "set", "HKCU\\Software\\Orv\\Calvex\\Log File", "Log File Flag", text});
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

void Notebook::StartCalvex() {
  calvex_ = std::make_unique<orv::test::Child>(std::vector<std::string>{Program("Calvex")});
  calvexPid_ = calvex_->pid();
  AwaitDesktop();
  ASSERT_EQ(Register("root\\WMI:Q:Orv_Software:Software:0"), 1) << "Calvex is up but not announced";
}

void Notebook::AwaitDesktop() {
  const std::string shot = home_->path() + "/up.png";
  ASSERT_TRUE(orv::test::WaitFor(
      [&] { return orv::test::Run({Program("orv-desktop"), "screenshot", shot}).exitCode == 0; }, std::chrono::seconds(60)))
      << "Calvex never served its desktop";
  ASSERT_EQ(orv::desktop::RequestShownFrames(), orv::gfx::Ok);
}

int Notebook::StopCalvex() {
  calvex_->Signal(SIGTERM);
  return calvex_->Wait(std::chrono::seconds(30));
}

int Notebook::Register(const std::string& command) {
  auto r = orv::test::Run({Program("orvcmd"), command});
  return std::atoi(r.out.c_str());
}

std::string Notebook::SimStatus() { return orv::test::Run({Program("orv-sim"), "status"}).out; }

orv::gfx::Surface Notebook::Screenshot() {
  const std::string path = home_->path() + "/shot.png";
  orv::gfx::Surface s;
  auto r = orv::test::Run({Program("orv-desktop"), "screenshot", path});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(orv::gfx::LoadPngFile(path, &s), orv::gfx::Ok);
  return s;
}

orv::gfx::Surface Notebook::Bare() {
  orv::gfx::Surface bare;
  EXPECT_TRUE(orv::test::WaitFor([&] {
    bare = Screenshot();
    return bare.At(1200, 700) == bare.At(600, 700);  // the OSD corner shows the wallpaper
  }));
  return bare;
}

bool Notebook::WaitForChange(const orv::gfx::Surface& before, int x, int y, int timeoutMs) {
  return orv::test::WaitFor(
      [&] {
        orv::gfx::Surface now = Screenshot();
        return now.Contains(x, y) && now.At(x, y) != before.At(x, y);
      },
      std::chrono::milliseconds(timeoutMs));
}

std::vector<orv::desktop::JournalEntry> Notebook::Journal() {
  std::vector<orv::desktop::JournalEntry> entries;
  if (orv::desktop::RequestJournal(&entries) != orv::gfx::Ok) entries.clear();
  return entries;
}

std::uint64_t Notebook::LastEntry() {
  auto entries = Journal();
  return entries.empty() ? 0 : entries.back().seq;
}

orv::desktop::JournalEntry Notebook::WaitShown(std::uint64_t after, int x, int y) {
  orv::desktop::JournalEntry found;
  orv::test::WaitFor([&] {
    for (const auto& e : Journal())
      if (e.seq > after && e.shown && x >= e.rect.left && x < e.rect.right && y >= e.rect.top && y < e.rect.bottom) {
        found = e;
        return true;
      }
    return false;
  });
  return found;
}

orv::desktop::JournalEntry Notebook::WaitHidden(const orv::desktop::JournalEntry& shown) {
  orv::desktop::JournalEntry found;
  orv::test::WaitFor([&] {
    for (const auto& e : Journal())
      if (e.seq > shown.seq && !e.shown && e.id == shown.id) {
        found = e;
        return true;
      }
    return false;
  });
  return found;
}

orv::gfx::Surface Notebook::FrameOf(const orv::desktop::JournalEntry& entry) {
  orv::gfx::Surface frame;
  EXPECT_EQ(orv::desktop::RequestShownFrame(entry.seq, &frame), orv::gfx::Ok) << "no frame kept for " << entry.seq;
  return frame;
}

std::string Notebook::LogPath() const {
  return home_->path() + "/drive_c/Users/" + UserName() + "/Documents/CalvexLogFile.txt";
}

std::string Notebook::LogText() { return Slurp(LogPath()); }

std::vector<std::string> Notebook::CalvexIcons() {
  std::istringstream in(Slurp(home_->path() + "/notify-area.txt"));
  std::vector<std::string> mine;
  std::string line;
  const std::string prefix = std::to_string(calvexPid_) + " ";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0) mine.push_back(line.substr(prefix.size()));
  return mine;
}

int Notebook::AudioDelivered(const std::string& kind) {
  std::istringstream in(Slurp(home_->path() + "/" + orv::audio::kDeliveredFile));
  const std::string mine = std::to_string(calvexPid_) + " " + kind;
  int n = 0;
  std::string line;
  while (std::getline(in, line)) n += line == mine;
  return n;
}

std::vector<std::string> TimestampedTexts(const std::string& log) {
  std::vector<std::string> out;
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    auto close = line.find(">>  ");
    if (line.rfind("<<", 0) != 0 || close == std::string::npos) continue;
    std::string text = line.substr(close + 4);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, " \r") == 0) text.resize(text.size() - 2);
    out.push_back(text);
  }
  return out;
}

int SlotX(int slot, int w) { return 1280 - slot * w - 15; }
int SlotY(int h) { return 800 - 30 - h - 10; }

}  // namespace traytest
