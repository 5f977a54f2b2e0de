// The one wine session that all the Windows proofs of a run share: a fresh prefix
// with an X display, made before the first test and removed after the last; and
// the steps that several proofs take in it.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/windows/wine_session.h"

namespace orv::test {

// The session of this run; null (with the reason on standard error) when it
// could not be made.
WineSession* Wine();

// A program's output with Windows' CR LF line ends made plain LF.
std::string Lines(const std::string& text);

// What `sc query` says of the service "Orv Calvex" (empty when it is not installed).
std::string ServiceState(WineSession& wine);

class WineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(Wine(), nullptr) << "no wine session"; }
  WineSession& wine() { return *Wine(); }
};

}  // namespace orv::test
