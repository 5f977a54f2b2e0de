// Fuzz target for the desktop's control commands: any request line as the frame
// server reads it (up to its newline, at most kMaxLine characters). Every reply
// must be one its client can read: "OK", one "ERR" line, a PNG that decodes, or
// lines that each fit a line and parse, closed by "END".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/desktop/sim/frame_server.h"
#include "platform/desktop/sim/journal.h"
#include "platform/gfx/sim/png.h"
#include "tests/support/fuzz_home.h"

namespace {

using namespace orv::desktop;

void Require(bool holds) {
  if (!holds) std::abort();
}

void CheckLines(const std::string& request, const std::string& reply) {
  Require(!reply.empty() && reply.back() == '\n');
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = reply.find('\n', at);
    const std::string line = reply.substr(at, end - at);
    Require(line.size() <= kMaxLine);  // the client reads no longer line
    if (line == "END") {
      Require(end + 1 == reply.size());
      return;
    }
    DesktopWindow window;
    JournalEntry entry;
    Require(request == "WINDOWS" ? ParseWindowLine(line, &window) : ParseJournalEntry(line, &entry));
    at = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A window the stand-in program shows serves this folder's desktop, not the user's.
  orv::test::UseFuzzStateFolder();
  StartJournal();  // as a serving process does, so the stand-in program's showings are recorded
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string request(reinterpret_cast<const char*>(data), size);
  request = request.substr(0, request.find('\n'));
  if (request.size() > kMaxLine) return 0;  // the server reads no further and drops the connection
  const std::string reply = ReplyTo(request);
  if (reply == "OK\n") return 0;
  if (reply.rfind("ERR ", 0) == 0) {
    Require(reply.find('\n') == reply.size() - 1);
    return 0;
  }
  if (reply.rfind("PNG ", 0) == 0) {
    const std::size_t header = reply.find('\n');
    Require(header != std::string::npos && header <= kMaxLine);
    Require(std::strtoull(reply.c_str() + 4, nullptr, 10) == reply.size() - header - 1);
    orv::gfx::Surface picture;
    Require(orv::gfx::DecodePng(reply.data() + header + 1, reply.size() - header - 1, &picture) == orv::gfx::Ok);
    return 0;
  }
  Require(request == "WINDOWS" || request == "JOURNAL");
  CheckLines(request, reply);
  return 0;
}
