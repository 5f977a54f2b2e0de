// The texts the server hands the page: JSON strings that are always valid UTF-8
// (the log may hold text in a legacy code page), and the tail of a log file.
#pragma once
#include <cstddef>
#include <string>

namespace orv::web {

// The text as a quoted JSON string; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);

// The last lines of the file (at most maxBytes from its end, whole lines only,
// without carriage returns); empty when it cannot be read.
std::string TailOfFile(const std::string& path, std::size_t maxBytes);

}  // namespace orv::web
