// Commands to the simulated notebook's provider from a test that runs it in
// process (the control channel of orv-sim, without starting the program).
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/launcher.h"

namespace orv::test {

// Runs a simulator command; the test fails if it is refused.
inline void SimCommand(const std::vector<std::string>& words) {
  int code = -1;
  std::string text;
  ASSERT_TRUE(orv::sim::SendControl(words, &code, &text));
  ASSERT_EQ(code, 0) << text;
}

// The notebook's summary (orv-sim status).
inline std::string SimStatus() {
  int code = -1;
  std::string text;
  EXPECT_TRUE(orv::sim::SendControl({"status"}, &code, &text));
  return text;
}

}  // namespace orv::test
