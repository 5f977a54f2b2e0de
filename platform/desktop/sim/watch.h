// Watching the screen from outside: the request line "WATCH <frame> <ms>" to the
// frame server is answered as soon as the screen shows something other than the
// frame numbered <frame> (0: any frame), by "FRAME <n>\n" and the PNG answer of
// that frame ("PNG <bytes>\n" and the picture), or, when nothing new is shown
// for <ms> milliseconds (at most kMaxWatchMs), by "SAME <frame>\n". The screen
// is composed again only after something that can change it (a window event, a
// window procedure that handled a message, new layered contents, client pixels
// given back, a notification icon), so a quiet desktop costs nothing. Each watch
// is answered from a thread of its own, so the server goes on serving meanwhile.
#pragma once
#include <cstdint>
#include <string>

#include "platform/gfx/sim/status.h"

namespace orv::desktop {

constexpr int kMaxWatchMs = 60000;
constexpr int kMaxWatchers = 8;

// Tells the watchers that the screen may show something new.
void NoteScreenChange();

// The frame server's side: takes the request when it is a watch and answers it
// on a descriptor of its own (a duplicate of client); true when taken, answered
// or refused ("ERR ..." for a malformed watch or too many at once).
bool TakeWatch(int client, const std::string& request);
// The numbers of a watch request line; false when it is not one.
bool ParseWatch(const std::string& request, std::uint64_t* frame, int* waitMs);

// The client's side: waits up to waitMs for a frame other than `seen`. Ok with
// *frame and *png set to the new frame; Ok with *frame == seen and png empty when
// nothing new came; FileNotFound when no desktop runs; Aborted when the answer
// broke off (the desktop ended).
gfx::Status RequestWatch(std::uint64_t seen, int waitMs, std::uint64_t* frame, std::string* png);

}  // namespace orv::desktop
