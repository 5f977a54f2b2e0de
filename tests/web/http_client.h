// Plain HTTP exchanges made by hand over TCP, for the tests of what the page's
// server answers to requests a browser would never send.
#pragma once
#include <string>

namespace webtest {

// Sends the bytes to 127.0.0.1:port and reads until the server closes (within a
// generous bound); the whole response, or "" when nothing could be sent.
std::string Exchange(int port, const std::string& request);
// The status code of a response ("HTTP/x.y NNN ..."), 0 when there is none.
int StatusOf(const std::string& response);
// A plain GET of the path as a browser on the page would send it.
std::string Get(int port, const std::string& path);

}  // namespace webtest
