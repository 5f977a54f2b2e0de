// The text record, fed by the message core's window observer.
#include "platform/desktop/sim/text_record.h"

#include <windows.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <sstream>

#include "platform/ui/sim/window_events.h"

namespace orv::desktop {
namespace {

constexpr std::size_t kEntries = 512;

struct Record {
  std::mutex mutex;
  bool started = false;
  std::uint64_t nextSeq = 1;
  std::deque<TextEntry> entries;
};

Record& TheRecord() {
  static Record* record = new Record;  // controls may still change during exit
  return *record;
}

std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

std::string FromOneLine(const std::string& line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\' || i + 1 == line.size()) {
      out += line[i];
      continue;
    }
    const char next = line[++i];
    out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
  }
  return out;
}

void OnWindowEvent(HWND hwnd, ui::WindowEvent event) {
  if (event != ui::WindowEvent::TextChanged || !(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) return;
  TextEntry e;
  e.ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
             .count();
  HWND top = hwnd;
  while ((GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD) && GetParent(top)) top = GetParent(top);
  e.window = reinterpret_cast<std::uintptr_t>(top);
  e.control = GetDlgCtrlID(hwnd);
  char text[1024] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  e.text = text;
  Record& r = TheRecord();
  std::lock_guard<std::mutex> lock(r.mutex);
  e.seq = r.nextSeq++;
  r.entries.push_back(std::move(e));
  if (r.entries.size() > kEntries) r.entries.pop_front();
}

}  // namespace

void StartTextRecord() {
  Record& r = TheRecord();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (r.started) return;
  r.started = true;
  ui::AddWindowObserver(OnWindowEvent);
}

std::vector<TextEntry> TextEntries() {
  Record& r = TheRecord();
  std::lock_guard<std::mutex> lock(r.mutex);
  return std::vector<TextEntry>(r.entries.begin(), r.entries.end());
}

std::string FormatTextEntry(const TextEntry& e) {
  std::ostringstream out;
  out << e.seq << ' ' << e.ms << ' ' << e.window << ' ' << e.control << ' ' << OneLine(e.text);
  return out.str();
}

bool ParseTextEntry(const std::string& line, TextEntry* e) {
  std::istringstream in(line);
  if (!(in >> e->seq >> e->ms >> e->window >> e->control)) return false;
  std::string rest;
  std::getline(in, rest);
  e->text = FromOneLine(rest.empty() ? rest : rest.substr(1));
  return true;
}

}  // namespace orv::desktop
