// The desktop's record of the texts its dialogs' controls were given: every
// change of a child window's text, with the dialog it belongs to, so that a test
// reads a countdown's every step instead of hoping a poll catches each one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace orv::desktop {

struct TextEntry {
  std::uint64_t seq = 0;
  std::int64_t ms = 0;          // steady clock (CLOCK_MONOTONIC), milliseconds
  std::uintptr_t window = 0;    // the top-level window holding the control
  int control = 0;              // the control's id
  std::string text;             // one line: CR and LF as "\r" and "\n"
};

// Starts the record in this process (again: nothing changes); the journal starts it.
void StartTextRecord();
// The latest entries, oldest first.
std::vector<TextEntry> TextEntries();

// One entry as the frame server sends it (one line), and back.
std::string FormatTextEntry(const TextEntry& e);
bool ParseTextEntry(const std::string& line, TextEntry* e);

}  // namespace orv::desktop
