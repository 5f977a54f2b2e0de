// The desktop's record of what it showed and hid: every top-level window's
// showing and hiding with the monotonic time it happened, and, once asked for,
// the frame composed at the moment of each showing. Tests read it through the
// frame server instead of hoping a timed screenshot catches a display that a
// timer hides again.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::desktop {

struct JournalEntry {
  std::uint64_t seq = 0;
  std::int64_t ms = 0;  // steady clock (CLOCK_MONOTONIC), milliseconds
  bool shown = false;   // false: hidden
  std::uintptr_t id = 0;
  RECT rect{0, 0, 0, 0};
  std::string className;  // "-" when the window has none
};

// Starts the record in this process (again: nothing changes).
void StartJournal();
// From now on, also keeps the frame composed as each window is shown (the latest few).
void KeepShownFrames();
// The latest entries, oldest first.
std::vector<JournalEntry> JournalEntries();
// The frame composed when entry seq was made; false when none was kept.
bool ShownFrame(std::uint64_t seq, gfx::Surface* out);

// One entry as the frame server sends it (one line, no newline), and back.
std::string FormatJournalEntry(const JournalEntry& e);
bool ParseJournalEntry(const std::string& line, JournalEntry* e);

}  // namespace orv::desktop
