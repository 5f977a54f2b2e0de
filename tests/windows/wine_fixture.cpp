// The shared wine session, torn down by GoogleTest's environment at the end, and
// the helpers the proofs share.
#include "tests/windows/wine_fixture.h"

namespace orv::test {
namespace {

std::unique_ptr<WineSession> g_session;

class WineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    auto session = std::make_unique<WineSession>(ORV_WINDOWS_BIN);
    if (session->Start(true)) {
      g_session = std::move(session);
    } else {
      std::fprintf(stderr, "wine session: %s\n", session->error().c_str());
    }
  }
  void TearDown() override { g_session.reset(); }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new WineEnvironment);

}  // namespace

WineSession* Wine() { return g_session.get(); }

std::string Lines(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

std::string ServiceState(WineSession& wine) { return Lines(wine.Run("sc", {"query", "Orv Calvex"}).out); }

}  // namespace orv::test
