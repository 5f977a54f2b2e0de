// The show/hide record, fed by the message core's window observer on the thread
// that shows or hides the window, so a kept frame is the screen of that moment.
#include "platform/desktop/sim/journal.h"

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/desktop/sim/compositor.h"
#include "platform/desktop/sim/state.h"
#include "platform/desktop/sim/text_record.h"
#include "platform/ui/sim/window_events.h"

namespace orv::desktop {
namespace {

constexpr std::size_t kEntries = 256;
constexpr std::size_t kFrames = 8;

struct Journal {
  std::mutex mutex;
  bool started = false;
  bool keepFrames = false;
  std::uint64_t nextSeq = 1;
  std::deque<JournalEntry> entries;
  std::map<std::uint64_t, gfx::Surface> frames;
};

Journal& TheJournal() {
  static Journal* journal = new Journal;  // windows may still change during exit
  return *journal;
}

void OnWindowEvent(HWND hwnd, ui::WindowEvent event) {
  if ((event != ui::WindowEvent::Shown && event != ui::WindowEvent::Hidden) ||
      (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD))
    return;
  JournalEntry e;
  e.ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
             .count();
  e.shown = event == ui::WindowEvent::Shown;
  e.id = reinterpret_cast<std::uintptr_t>(hwnd);
  GetWindowRect(hwnd, &e.rect);
  {
    std::lock_guard<std::recursive_mutex> lock(detail::Lock());
    detail::WindowRecord* record = detail::Find(hwnd);
    e.className = record && !record->className.empty() ? record->className : "-";
  }
  Journal& j = TheJournal();
  bool keep;
  {
    std::lock_guard<std::mutex> lock(j.mutex);
    keep = j.keepFrames && e.shown;
  }
  // The entry goes in with its frame, so whoever sees the entry finds the frame.
  gfx::Surface frame;
  if (keep) ComposeFrame(&frame);
  std::lock_guard<std::mutex> lock(j.mutex);
  e.seq = j.nextSeq++;
  j.entries.push_back(e);
  if (j.entries.size() > kEntries) j.entries.pop_front();
  if (!keep) return;
  j.frames[e.seq] = std::move(frame);
  if (j.frames.size() > kFrames) j.frames.erase(j.frames.begin());
}

}  // namespace

void StartJournal() {
  Journal& j = TheJournal();
  std::lock_guard<std::mutex> lock(j.mutex);
  if (j.started) return;
  j.started = true;
  ui::AddWindowObserver(OnWindowEvent);
  StartTextRecord();
}

void KeepShownFrames() {
  Journal& j = TheJournal();
  std::lock_guard<std::mutex> lock(j.mutex);
  j.keepFrames = true;
}

std::vector<JournalEntry> JournalEntries() {
  Journal& j = TheJournal();
  std::lock_guard<std::mutex> lock(j.mutex);
  return std::vector<JournalEntry>(j.entries.begin(), j.entries.end());
}

bool ShownFrame(std::uint64_t seq, gfx::Surface* out) {
  Journal& j = TheJournal();
  std::lock_guard<std::mutex> lock(j.mutex);
  auto it = j.frames.find(seq);
  if (it == j.frames.end()) return false;
  *out = it->second;
  return true;
}

std::string FormatJournalEntry(const JournalEntry& e) {
  std::ostringstream out;
  out << e.seq << ' ' << e.ms << ' ' << (e.shown ? "shown" : "hidden") << ' ' << e.id << ' ' << e.rect.left << ' '
      << e.rect.top << ' ' << e.rect.right << ' ' << e.rect.bottom << ' ' << e.className;
  return out.str();
}

bool ParseJournalEntry(const std::string& line, JournalEntry* e) {
  std::istringstream in(line);
  std::string what;
  if (!(in >> e->seq >> e->ms >> what >> e->id >> e->rect.left >> e->rect.top >> e->rect.right >> e->rect.bottom >>
        e->className))
    return false;
  e->shown = what == "shown";
  return what == "shown" || what == "hidden";
}

}  // namespace orv::desktop
