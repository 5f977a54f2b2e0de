// What the page may send: its controls and the desktop's input become the
// simulator's words and the desktop's request lines; anything else is refused
// with a reason. And the texts sent back: always valid JSON strings in UTF-8,
// and the whole last lines of the log.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim/web/commands.h"
#include "sim/web/text.h"
#include "tests/support/process.h"

namespace {

using orv::web::PageCommand;

PageCommand Parsed(const std::string& line) {
  PageCommand c;
  std::string error;
  EXPECT_TRUE(orv::web::ParsePageCommand(line, &c, &error)) << line << ": " << error;
  return c;
}

std::string Refusal(const std::string& line) {
  PageCommand c;
  std::string error;
  EXPECT_FALSE(orv::web::ParsePageCommand(line, &c, &error)) << line;
  return error;
}

}  // namespace

TEST(WebCommands, TheControlsAndTheDesktopsInputBecomeWordsAndRequestLines) {
  for (const char* line : {"sim press wireless", "sim press volume-up", "sim radio off", "sim ac unplug",
                           "sim thermal s4-stage2", "sim volume set 35", "sim volume mute on",
                           "sim brightness set 100", "sim audio plug headphones", "sim audio unplug headphones"}) {
    PageCommand c = Parsed(line);
    EXPECT_EQ(c.kind, PageCommand::Kind::Sim) << line;
    std::string joined;
    for (const auto& w : c.simWords) joined += (joined.empty() ? "" : " ") + w;
    EXPECT_EQ("sim " + joined, line);
  }
  EXPECT_EQ(Parsed("click 640 790 right").desktopLine, "CLICK 640 790 right");
  EXPECT_EQ(Parsed("click 5 7 left").desktopLine, "CLICK 5 7");
  EXPECT_EQ(Parsed("key ctrl+alt+s").desktopLine, "KEY ctrl+alt+s");
  EXPECT_EQ(Parsed("key tab tab enter").desktopLine, "KEY tab tab enter");
  EXPECT_EQ(Parsed("type Hello, world!").desktopLine, "TYPE Hello, world!");
  EXPECT_EQ(Parsed("type  ").desktopLine, "TYPE  ");
  EXPECT_EQ(Parsed("click 1 2 left").kind, PageCommand::Kind::Desktop);
}

TEST(WebCommands, WhatIsNotAControlOfThePageIsRefusedWithAReason) {
  // The simulator's other commands are not the page's, however well formed.
  EXPECT_NE(Refusal("sim stop").find("not a control"), std::string::npos);
  EXPECT_NE(Refusal("sim set bios X").find("not a control"), std::string::npos);
  EXPECT_NE(Refusal("sim raw event 1").find("not a control"), std::string::npos);
  EXPECT_NE(Refusal("sim brightness refuse 0 on").find("not a control"), std::string::npos);
  // The simulator's own checks still hold.
  EXPECT_NE(Refusal("sim press nosuchkey").find("unknown key"), std::string::npos);
  EXPECT_FALSE(Refusal("sim volume set 101").empty());
  EXPECT_FALSE(Refusal("sim thermal s5").empty());
  for (const char* bad : {"", "sim", "sim ", "sim  press wireless", "sim press wireless ", "click", "click 1 2",
                          "click 1 2 middle", "click x 2 left", "click 123456 2 left", "click 1 2 left extra",
                          "key", "key Escape", "key esc;rm", "type", "rm -rf /", "SIM press wireless",
                          "click\t1 2 left", "key esc\n", "type \x01"})
    EXPECT_FALSE(Refusal(bad).empty()) << "\"" << bad << "\"";
  EXPECT_NE(Refusal(std::string(orv::web::kMaxCommand + 1, 'a')).find("too long"), std::string::npos);
  EXPECT_FALSE(Refusal("type " + std::string(orv::web::kMaxTyped + 1, 'a')).empty());
  EXPECT_EQ(Refusal("nonsense " + std::string(100, 'x')).size(), std::string("unknown command \"nonsense\"").size());
}

TEST(WebText, JsonStringsAreValidUtf8WhateverTheBytes) {
  EXPECT_EQ(orv::web::JsonString("a\"b\\c\n\t\r\x01"), "\"a\\\"b\\\\c\\n\\t\\u000d\\u0001\"");
  EXPECT_EQ(orv::web::JsonString("關於 Calvex"), "\"關於 Calvex\"");
  // Big5 bytes of a legacy log, a lone continuation byte, a surrogate, an overlong form, a cut sequence.
  EXPECT_EQ(orv::web::JsonString("\xC3\xF6 \x80 \xED\xA0\x80 \xC0\xAF \xE9\x97"),
            "\"\\ufffd\\ufffd \\ufffd \\ufffd\\ufffd\\ufffd \\ufffd\\ufffd \\ufffd\\ufffd\"");
}

TEST(WebText, TheTailOfALogIsItsLastWholeLinesWithoutCarriageReturns) {
  orv::test::TempHome home;
  const std::string path = home.path() + "/log.txt";
  EXPECT_EQ(orv::web::TailOfFile(path, 100), "") << "no file yet";
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 100; ++i) out << "line " << i << "\r\n";
  }
  EXPECT_EQ(orv::web::TailOfFile(path, 30), "line 97\nline 98\nline 99\n");
  const std::string whole = orv::web::TailOfFile(path, 1 << 20);
  EXPECT_EQ(whole.rfind("line 0\n", 0), 0u);
  EXPECT_EQ(whole.find('\r'), std::string::npos);
}
