// Screenshots across processes: the process that owns the desktop serves its
// composed frame on the socket "desktop.sock" in the state folder; `orv-desktop
// screenshot out.png` asks for it. A process becomes the owner when it first
// shows a top-level window of its own (the tray program once its main window is
// up) and stays it until it exits, unless another live process already serves
// that state folder. One request per
// connection: the line "FRAME\n", answered by "PNG <bytes>\n" and the PNG, or by
// "ERR <reason>\n"; or the line "PLAYER fullscreen|maximized|off\n", which puts
// a screen-sized program in the foreground (or takes it away), answered "OK\n";
// or "WINDOWS\n", answered by a line per top-level window and "END\n"; or
// "JOURNAL\n", answered by a line per entry of the show/hide record and "END\n";
// "TEXTS\n", answered by a line per entry of the control text record and "END\n";
// "KEEP SHOWN FRAMES\n" ("OK\n"), after which the frame of each showing is kept;
// "SHOWN <seq>\n", answered like FRAME with the frame kept for that entry; and
// the input and automation requests of RequestText (below, and input.h).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop/sim/journal.h"
#include "platform/desktop/sim/text_record.h"
#include "platform/gfx/sim/status.h"

namespace orv::desktop {

// Starts serving the current state folder on a thread of its own (moving there
// from another folder served before); true if serving, false when another live
// process serves it. The desktop calls it itself; tests may too.
bool StartFrameServer();
// Stops serving and removes the socket; done at exit.
void StopFrameServer();
// Whether this process serves the current state folder.
bool ServingHere();

// How long a request waits for its whole answer unless told otherwise: long, as
// a loaded machine may take seconds to compose and encode a frame, and a request
// to a process that serves nothing fails at once all the same.
constexpr int kRequestTimeoutMs = 60000;

// Asks the serving process for its frame and writes it to outPath. FileNotFound
// when nothing serves; Aborted when the answer does not come in time.
gfx::Status RequestScreenshot(const std::string& outPath, int timeoutMs = kRequestTimeoutMs);
// A top-level window of the serving process, as the screen has it.
struct DesktopWindow {
  std::uintptr_t id = 0;
  bool visible = false;
  RECT rect{0, 0, 0, 0};
  std::uint64_t generation = 0;  // how many times its layered contents were given
  std::int64_t changedUs = 0;    // steady clock, microseconds: when contents were last given or it was shown
  std::string className;
};
// Lists the serving process's top-level windows, bottom of the z-order first.
gfx::Status RequestWindows(std::vector<DesktopWindow>* windows, int timeoutMs = kRequestTimeoutMs);

// The serving process's show/hide record, oldest entry first.
gfx::Status RequestJournal(std::vector<JournalEntry>* entries, int timeoutMs = kRequestTimeoutMs);
// The serving process's record of its controls' texts, oldest entry first.
gfx::Status RequestTexts(std::vector<TextEntry>* entries, int timeoutMs = kRequestTimeoutMs);
// Asks the serving process to keep the frame of each showing from now on.
gfx::Status RequestShownFrames(int timeoutMs = kRequestTimeoutMs);
// The frame the serving process composed when it made entry seq of its record.
gfx::Status RequestShownFrame(std::uint64_t seq, gfx::Surface* frame, int timeoutMs = kRequestTimeoutMs);

// Sends one request line of the input and automation protocol (MOVE x y,
// CLICK x y [right], KEY keys, TYPE text, TRAY id left|right, TRAY PLACE id, PRESS id title,
// TOPLEVEL, CONTROLS title, MENU, MENU PLACES, CHOOSE text, RESTART TASKBAR, POST msg w l title;
// see input.h)
// and gives the whole answer.
gfx::Status RequestText(const std::string& line, std::string* reply, int timeoutMs = kRequestTimeoutMs);

// Asks the serving process to show or end the stand-in program in front ("fullscreen",
// "maximized", "off"); InvalidParameter for another mode.
gfx::Status RequestPlayer(const std::string& mode, int timeoutMs = kRequestTimeoutMs);

// The two ends of the protocol apart from the socket. Request lines and the
// text lines of a reply are at most kMaxLine characters before their newline
// (the automation's requests carry typed text and window titles).
constexpr std::size_t kMaxLine = 4096;
// The serving process's whole reply to one request line (without its newline).
std::string ReplyTo(const std::string& request);
// A line of the WINDOWS reply as the client reads it; false when it is not one.
bool ParseWindowLine(const std::string& line, DesktopWindow* window);

}  // namespace orv::desktop
