// The resource compiler against windres, the Windows build's: the same script
// gives the same resources, byte for byte (dialog templates, icon groups and
// images, bitmaps, files, names, types and languages); and the compiler's
// complaints about scripts it cannot read.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "tests/resources/windres_output.h"
#include "tests/support/process.h"
#include "tools/orv-rc/rc_compiler.h"

namespace {

std::string Key(const orv::rc::Resource& r) {
  auto id = [](const orv::rc::ResourceId& i) { return i.IsText() ? i.text : "#" + std::to_string(i.number); };
  return id(r.type) + "/" + id(r.name) + "/" + std::to_string(r.language);
}

void ExpectSameAsWindres(const std::string& script, const std::vector<std::string>& includeDirs = {}) {
  if (rctest::WindresProgram().empty()) GTEST_SKIP() << "windres (package mingw-w64) is not installed";
  orv::rc::Compiled ours;
  std::string error;
  ASSERT_TRUE(orv::rc::CompileScript(script, includeDirs, &ours, &error)) << error;
  std::vector<orv::rc::Resource> theirs;
  ASSERT_TRUE(rctest::CompileWithWindres(script, includeDirs, &theirs, &error)) << error;
  std::map<std::string, const orv::rc::Resource*> byKey;
  for (const auto& r : theirs) byKey[Key(r)] = &r;
  EXPECT_EQ(ours.resources.size(), theirs.size());
  for (const auto& r : ours.resources) {
    auto it = byKey.find(Key(r));
    if (it == byKey.end()) {
      ADD_FAILURE() << Key(r) << " is not among windres's resources";
      continue;
    }
    const auto& want = it->second->data;
    auto diff = std::mismatch(r.data.begin(), r.data.end(), want.begin(), want.end());
    EXPECT_TRUE(r.data == want) << Key(r) << ": " << r.data.size() << " bytes against " << want.size()
                                << ", first difference at byte " << (diff.first - r.data.begin());
  }
}

TEST(ResourceCompiler, TheProgramsScriptGivesWhatWindresGives) {
  ExpectSameAsWindres(std::string(ORV_SOURCE_DIR) + "/tray/resources/Calvex.rc", {ORV_ARTWORK_RESOURCES});
}

TEST(ResourceCompiler, EveryStatementGivesWhatWindresGives) {
  ExpectSameAsWindres(std::string(ORV_SOURCE_DIR) + "/tests/resources/controls.rc");
}

TEST(ResourceCompiler, AScriptItCannotReadIsReportedWithItsLine) {
  orv::test::TempHome scratch;
  struct Case {
    const char* text;
    const char* complaint;
  } cases[] = {
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  SPINNER 1, 2, 3, 4, 5\nEND\n", "script.rc:3: unknown control 'SPINNER'"},
      {"1 ICON \"missing.ico\"\n", "script.rc:1: missing.ico not found"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\nEND\n", "script.rc:1: DIALOG is not supported"},
      {"1 DIALOGEX 0, 0, 10\nBEGIN\nEND\n", "script.rc:2: ',' expected"},
      {"#if 1\n", "#if is not supported"},
      {"1 DIALOGEX 0, 0, 10, 10\nSTYLE WS_POPUP | WS_NOSUCH\nBEGIN\nEND\n", "script.rc:2: a style was expected, not 'WS_NOSUCH'"},
  };
  for (const Case& c : cases) {
    const std::string path = scratch.path() + "/script.rc";
    std::ofstream(path) << c.text;
    orv::rc::Compiled out;
    std::string error;
    EXPECT_FALSE(orv::rc::CompileScript(path, {}, &out, &error)) << c.text;
    EXPECT_NE(error.find(c.complaint), std::string::npos) << "got: " << error;
  }
}

}  // namespace
