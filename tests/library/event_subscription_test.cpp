// Firmware events through the library's subscription: each event raised by the
// provider arrives at the registered window as one posted WM_EC_EVENT.
#include <chrono>
#include <optional>
#include <thread>

#include <windows.h>

#include "tests/support/test_window.h"
#include "tests/library/provider_fixture.h"

namespace {

using orv::test::ProviderTest;

constexpr UINT kEcEvent = 0x4040;

LRESULT TargetProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class EventTest : public ProviderTest {
 protected:
  void SetUp() override {
    ProviderTest::SetUp();
    window_ = orv::test::CreateTestWindow(TargetProc, "event target");
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window_);
    ProviderTest::TearDown();
  }
  bool Subscribe(COrvWmiAcpi& wmi, const char16_t* query = u"Select * from Orv_Event") {
    char err[260] = {};
    bool ok = wmi.OrvWMIEvent(query, err, u"root\\wmi", u"WQL");
    lastError_ = err;
    return ok;
  }
  // The next WM_EC_EVENT for the window within the time-out.
  std::optional<MSG> NextEvent(std::chrono::milliseconds timeout = std::chrono::seconds(3)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    MSG msg{};
    while (std::chrono::steady_clock::now() < deadline) {
      if (PeekMessageA(&msg, window_, kEcEvent, kEcEvent, PM_REMOVE)) return msg;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
  }

  HWND window_ = nullptr;
  std::string lastError_;
};

TEST_F(EventTest, KeysArriveWithCodeAndStateByte) {
  COrvWmiAcpi wmi;
  wmi.AddHWND(window_);
  ASSERT_TRUE(Subscribe(wmi)) << lastError_;
  Sim({"press", "wireless"});
  auto m = NextEvent();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->hwnd, window_);
  EXPECT_EQ(m->wParam, 0x5Fu);
  // The register's new value rides along, in the register's bit layout.
  EXPECT_EQ(m->lParam, std::stoi(Cmd("root\\WMI:Q:Orv_Device:Device:0")));

  // Older firmware does not carry the state.
  Sim({"set", "asl", "16"});
  Sim({"press", "wireless"});
  m = NextEvent();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->wParam, 0x5Fu);
  EXPECT_EQ(m->lParam, 0);

  // Only the low 16 bits count: code in bits 0..7, state byte in bits 8..15.
  Sim({"raw", "event", "0x0123"});
  m = NextEvent();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->wParam, 0x23u);
  EXPECT_EQ(m->lParam, 0x01);
  Sim({"raw", "event", "0xABCD0123"});
  m = NextEvent();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->wParam, 0x23u);
  EXPECT_EQ(m->lParam, 0x01);
  EXPECT_FALSE(NextEvent(std::chrono::milliseconds(100)));
}

TEST_F(EventTest, TargetIsTakenWhenSubscribing) {
  COrvWmiAcpi early;
  ASSERT_TRUE(Subscribe(early));  // no window yet: its events go nowhere
  early.AddHWND(window_);         // and a later AddHWND does not redirect it
  Sim({"press", "webcam"});
  EXPECT_FALSE(NextEvent(std::chrono::milliseconds(300)));

  // Two subscriptions deliver every event twice.
  COrvWmiAcpi wmi;
  wmi.AddHWND(window_);
  ASSERT_TRUE(Subscribe(wmi));
  ASSERT_TRUE(Subscribe(wmi));
  Sim({"press", "bluetooth"});
  EXPECT_TRUE(NextEvent());
  EXPECT_TRUE(NextEvent());
  EXPECT_FALSE(NextEvent(std::chrono::milliseconds(100)));
}

TEST_F(EventTest, SubscriptionFailuresGiveStatusTexts) {
  COrvWmiAcpi wmi;
  wmi.AddHWND(window_);
  EXPECT_FALSE(Subscribe(wmi, u"Select * from Orv_Device"));
  EXPECT_EQ(lastError_, "WBEM_E_NOT_EVENT_CLASS");
  EXPECT_FALSE(Subscribe(wmi, u"Select * from Orv_Nothing"));
  EXPECT_EQ(lastError_, "WBEM_E_INVALID_CLASS");
  char err[260] = {};
  EXPECT_FALSE(wmi.OrvWMIEvent(u"Select * from Orv_Event", err, u"root\\Nowhere", u"WQL"));
  EXPECT_STREQ(err, "WBEM_E_INVALID_NAMESPACE");
  Sim({"stop"});
  EXPECT_FALSE(Subscribe(wmi));
  EXPECT_EQ(lastError_, "0x800706ba");
}

}  // namespace
