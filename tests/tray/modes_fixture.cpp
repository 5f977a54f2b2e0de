// The modes fixture: the log as lines, windows by title, the centre display and
// the levels of the simulated notebook.
#include "tests/tray/modes_fixture.h"

#include <algorithm>
#include <chrono>
#include <regex>
#include <sstream>

#include "tests/osd/osd_support.h"

namespace traytest {
namespace {

using orv::test::Program;
using orv::test::WaitFor;

// A marker that changes nothing: an audio event of the firmware, which this
// system leaves to the sound driver.
const char kMarkerLine[] = "\t<< This WMIevent don't work in XP & Vista. >>";

int Percent(const std::string& text, const std::string& pattern) {
  std::smatch m;
  return std::regex_search(text, m, std::regex(pattern)) ? std::stoi(m[1].str()) : -1;
}

}  // namespace

void Modes::Start() {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  ASSERT_TRUE(WaitFor([&] { return Count() > 0 && Texts().back() == "\t Define Audio and Brightness value"; }));
  bare_ = Bare();
}

LogLines Modes::Texts() {
  // LogLines as written, with a time stamp cut off; the stamp of an event's value
  // stands on a line of its own and is left out.
  LogLines out;
  std::istringstream in(LogText());
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("<<", 0) == 0) {
      const std::size_t close = line.find(">>");
      if (close == std::string::npos || line.size() <= close + 3) continue;
      line = line.substr(close + 4);
      if (!line.empty() && line.back() == ' ') line.pop_back();
    }
    out.push_back(line);
  }
  return out;
}

LogLines Modes::Until(std::size_t from, const std::string& last) {
  LogLines got;
  const bool came = WaitFor([&] {
    const LogLines all = Texts();
    got.assign(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
    auto it = std::find(got.begin(), got.end(), last);
    if (it == got.end()) return false;
    got.erase(it + 1, got.end());
    return true;
  });
  EXPECT_TRUE(came) << "never written: \"" << last << "\"";
  return got;
}

LogLines Modes::Settled(std::size_t from) {
  Sim({"raw", "event", "0x21"});
  LogLines got = Until(from, kMarkerLine);
  if (got.size() >= 2) got.resize(got.size() - 2);  // the marker's value and first line, and its second
  return got;
}

bool Modes::WaitCount(const std::string& title, int count) {
  return WaitFor([&] { return CountTitled(title) == count; });
}

orv::desktop::JournalEntry Modes::WaitCentre(std::uint64_t after, const std::string& picture) {
  const orv::gfx::Surface pic = osdtest::Picture("Center/" + picture);
  EXPECT_FALSE(pic.Empty()) << picture;
  if (pic.Empty()) return {};
  const int x = (1280 - pic.width) / 2, y = (800 - pic.height) / 2;
  orv::desktop::JournalEntry shown = WaitShown(after, x + pic.width / 2, y + pic.height / 2);
  EXPECT_NE(shown.seq, 0u) << "the centre display never showed " << picture;
  if (shown.seq == 0) return shown;
  std::string why;
  EXPECT_TRUE(osdtest::Shows(FrameOf(shown), bare_, pic, x, y, &why)) << picture << ": " << why;
  return shown;
}

void Modes::AwaitCentreHidden() {
  orv::desktop::JournalEntry last;
  for (const auto& e : Journal())
    if (e.shown && e.rect.left <= 640 && e.rect.right > 640 && e.rect.top <= 400 && e.rect.bottom > 400) last = e;
  if (last.seq == 0) return;
  EXPECT_NE(WaitHidden(last).seq, 0u) << "the centre display never hid";
}

std::int64_t Modes::WaitScreenShowsCentre(const std::string& picture) {
  const orv::gfx::Surface pic = osdtest::Picture("Center/" + picture);
  const int x = (1280 - pic.width) / 2, y = (800 - pic.height) / 2;
  std::int64_t seenMs = -1;
  std::string why;
  EXPECT_TRUE(WaitFor([&] {
    if (!osdtest::Shows(Screenshot(), bare_, pic, x, y, &why)) return false;
    seenMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now().time_since_epoch()).count();
    return true;
  })) << "the screen never showed " << picture << ": " << why;
  return seenMs;
}

int Modes::ShownSince(std::uint64_t seq) {
  int n = 0;
  for (const auto& e : Journal()) n += e.seq > seq && e.shown;
  return n;
}

int Modes::Volume() { return Percent(SimStatus(), R"(volume (\d+)%[^\n]*default)"); }

int Modes::Brightness(int monitor) {
  return Percent(SimStatus(), "monitor " + std::to_string(monitor) + ": (\\d+)%");
}

}  // namespace traytest
