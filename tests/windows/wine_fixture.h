// The one wine session that all the Windows proofs of a run share: a fresh prefix
// with an X display, made before the first test and removed after the last.
#pragma once
#include <gtest/gtest.h>

#include "tests/windows/wine_session.h"

namespace orv::test {

// The session of this run; null (with the reason in the skip message) when it
// could not be made.
WineSession* Wine();

class WineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Wine(), nullptr) << "no wine session";
  }
  WineSession& wine() { return *Wine(); }
};

}  // namespace orv::test
