// A simulated notebook with its firmware provider, the service and the tray
// program Calvex, all real processes in a private state folder; and what a test
// reads back: screenshots of the desktop, the log file, the notification area.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/sim/journal.h"
#include "platform/gfx/sim/surface.h"
#include "tests/support/process.h"

namespace traytest {

class Notebook : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Acts on the simulated notebook (orv-sim words); fails the test when refused.
  void Sim(const std::vector<std::string>& words);
  void InstallService();
  // Sets the log flag to this text.
  void SetLogFlag(const std::string& text);

  // Starts Calvex in the background and waits until it serves its desktop (which
  // from then on keeps the frame of every showing) and has announced itself to
  // the firmware.
  void StartCalvex();
  // Waits until Calvex serves its desktop, and has the desktop keep the frame of every showing.
  void AwaitDesktop();
  // Asks Calvex to end as the session would (SIGTERM) and returns its exit code.
  int StopCalvex();

  // The whole firmware register as a decimal value through the provider.
  int Register(const std::string& command);
  std::string SimStatus();

  orv::gfx::Surface Screenshot();
  // A screen with every OSD hidden again (the bare desktop).
  orv::gfx::Surface Bare();
  // Waits until the screen differs from before at (x, y); false on time-out.
  bool WaitForChange(const orv::gfx::Surface& before, int x, int y, int timeoutMs = 30000);

  // The desktop's show/hide record (empty when Calvex serves no desktop), and the
  // number of its latest entry.
  std::vector<orv::desktop::JournalEntry> Journal();
  std::uint64_t LastEntry();
  // Waits for a window to be shown over (x, y) after entry `after`; seq 0 on time-out.
  orv::desktop::JournalEntry WaitShown(std::uint64_t after, int x, int y);
  // Waits for the window of `shown` to be hidden again; seq 0 on time-out.
  orv::desktop::JournalEntry WaitHidden(const orv::desktop::JournalEntry& shown);
  // The screen as the desktop composed it when it made the entry.
  orv::gfx::Surface FrameOf(const orv::desktop::JournalEntry& entry);
  std::string LogText();
  std::string LogPath() const;
  // Lines of the notification area's record that belong to Calvex's process.
  std::vector<std::string> CalvexIcons();
  // How many device changes of this kind ("state", "added", "removed",
  // "default") Calvex's audio notification clients have all been told of.
  int AudioDelivered(const std::string& kind);

  std::unique_ptr<orv::test::TempHome> home_;
  std::unique_ptr<orv::test::Child> calvex_;
  int calvexPid_ = -1;
  bool serviceInstalled_ = false;
};

// The texts of the timestamped lines of a log, in order ("<<...>>  text \r\n").
std::vector<std::string> TimestampedTexts(const std::string& log);

// Where an icon-slot display of a w x h picture stands on the default screen
// (1280 x 800, 30-pixel taskbar at the bottom): slot 1, 2 or 3 from the right.
int SlotX(int slot, int w);
int SlotY(int h);

}  // namespace traytest
