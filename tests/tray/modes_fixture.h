// The notebook with Calvex logging, for the tests of its modes, its dialogs'
// events and the power broadcasts: the log read as lines, the desktop's windows
// by title, the centre display's pictures and the firmware's registers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/tray/dialogs_fixture.h"

namespace traytest {

using LogLines = std::vector<std::string>;

class Modes : public Dialogs {
 protected:
  // Calvex with its log on, once its start-up has ended.
  void Start();
  LogLines Texts();
  std::size_t Count() { return Texts().size(); }
  // The lines written after the first `from`, up to and including the first
  // that equals `last` (all of them, and a failure, when it never comes).
  LogLines Until(std::size_t from, const std::string& last);
  // Marks the log's end with an event whose handling writes a known line, and
  // returns the lines written after `from` before it: what a handling wrote, and
  // nothing that was still to come.
  LogLines Settled(std::size_t from);

  // Waits until exactly `count` windows carry this title.
  bool WaitCount(const std::string& title, int count);

  // Waits for the centre display to show this picture after journal entry
  // `after`, checks the composed frame and returns its entry (seq 0 when not).
  orv::desktop::JournalEntry WaitCentre(std::uint64_t after, const std::string& picture);
  int ShownSince(std::uint64_t seq);
  // Waits until the latest showing of the centre display has been hidden again,
  // so that the next centre picture is a showing of its own.
  void AwaitCentreHidden();
  // Waits for the screen to show this centre picture, whether the display was
  // shown for it or already up; the steady clock's milliseconds when it was seen.
  std::int64_t WaitScreenShowsCentre(const std::string& picture);

  // Bits of the firmware registers.
  int SystemBits(int instance) { return Register("root\\WMI:Q:Orv_System:System:" + std::to_string(instance)); }
  // The default endpoint's volume and a monitor's brightness, as the notebook has them.
  int Volume();
  int Brightness(int monitor = 0);

  orv::gfx::Surface bare_;
};

}  // namespace traytest
