// Whole reads and writes on the desktop's stream sockets, each bounded by a
// deadline and, on the serving side, ended at once by a byte on a wake
// descriptor, so that no peer that stops reading or writing can hold the caller.
#pragma once
#include <chrono>
#include <cstddef>
#include <string>

namespace orv::desktop {

using Deadline = std::chrono::steady_clock::time_point;

// Sends every byte before the deadline; false on time-out, error, or when wake
// (-1: none) becomes readable.
bool SendAll(int fd, const void* data, std::size_t size, Deadline deadline, int wake = -1);
// Reads exactly size bytes before the deadline; false on time-out, error, early
// end, or when wake becomes readable.
bool RecvAll(int fd, char* data, std::size_t size, Deadline deadline, int wake = -1);
// Reads one line of at most maxLine characters and drops its newline.
bool RecvLine(int fd, std::string* line, std::size_t maxLine, Deadline deadline, int wake = -1);

}  // namespace orv::desktop
