// The event sink's delivery rules on objects the provider cannot produce: an
// event without a readable OrvEvt, several objects in one delivery, and its
// reference counting.
#include <gtest/gtest.h>

#include "library/event_sink.h"
#include <windows.h>

#include "tests/support/test_window.h"

namespace {

using namespace orv::wmi;

// An event object whose OrvEvt answers with a chosen status and value.
class FakeEvent : public RefCounted<IWbemClassObject, Iid::WbemClassObject> {
 public:
  FakeEvent(HRESULT status, Variant value) : status_(status), value_(std::move(value)) {}
  HRESULT Get(const char16_t*, long, Variant* v, CimType*, long*) override {
    if (Succeeded(status_)) *v = value_;
    return status_;
  }
  HRESULT Put(const char16_t*, long, const Variant*, CimType) override { return WBEM_E_READ_ONLY; }
  HRESULT GetMethod(const char16_t*, long, IWbemClassObject**, IWbemClassObject**) override {
    return WBEM_E_NOT_SUPPORTED;
  }
  HRESULT SpawnInstance(long, IWbemClassObject**) override { return WBEM_E_NOT_SUPPORTED; }

 private:
  HRESULT status_;
  Variant value_;
};

LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return DefWindowProcA(h, m, w, l);
}

int Pending(HWND window, MSG* last) {
  int n = 0;
  while (PeekMessageA(last, window, 0x4040, 0x4040, PM_REMOVE)) ++n;
  return n;
}

TEST(EventSink, PostsOnlyReadableValuesOncePerDelivery) {
  HWND window = orv::test::CreateTestWindow(Proc);
  auto* sink = new orv::lib::CEventSink(window);
  EXPECT_EQ(sink->AddRef(), 1u);
  EXPECT_STREQ(sink->GetRuntimeClassName(), "CEventSink");
  void* asSink = nullptr;
  EXPECT_EQ(sink->QueryInterface(Iid::WbemObjectSink, &asSink), WBEM_S_NO_ERROR);
  EXPECT_EQ(asSink, static_cast<IWbemObjectSink*>(sink));
  EXPECT_EQ(sink->QueryInterface(Iid::WbemServices, &asSink), E_NOINTERFACE);
  EXPECT_EQ(sink->Release(), 1u);

  MSG msg{};
  auto deliver = [&](HRESULT status, Variant value, long count = 1) {
    auto* event = new FakeEvent(status, std::move(value));
    IWbemClassObject* objects[3] = {event, event, event};
    EXPECT_EQ(sink->Indicate(count, objects), WBEM_S_NO_ERROR);
    event->Release();
    return Pending(window, &msg);
  };
  EXPECT_EQ(deliver(WBEM_E_NOT_FOUND, Variant{}), 0);
  EXPECT_EQ(deliver(WBEM_S_NO_ERROR, Variant::Null()), 0);
  EXPECT_EQ(deliver(WBEM_S_NO_ERROR, Variant{}), 0);
  EXPECT_EQ(deliver(WBEM_S_NO_ERROR, Variant::Str(u"0x5F")), 0);
  EXPECT_EQ(deliver(WBEM_S_NO_ERROR, Variant::Int(VT_I4, 0x0123), 0), 0);
  EXPECT_EQ(deliver(WBEM_S_NO_ERROR, Variant::Int(VT_I4, 0x0123), 3), 1);
  EXPECT_EQ(msg.wParam, 0x23u);
  EXPECT_EQ(msg.lParam, 0x01);
  EXPECT_EQ(deliver(WBEM_S_NO_ERROR, Variant::Int(VT_I4, 0x7FFF845F)), 1);
  EXPECT_EQ(msg.wParam, 0x5Fu);
  EXPECT_EQ(msg.lParam, 0x84);
  EXPECT_EQ(sink->Release(), 0u);
  DestroyWindow(window);
}

}  // namespace
