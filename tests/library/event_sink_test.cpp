// The event sink's delivery rules on event objects the provider never sends: an
// event without a readable OrvEvt, several objects in one delivery, and its
// reference counting.
#include <gtest/gtest.h>

#include <optional>

#include "library/event_sink.h"
#include "platform/wmi/sim/object.h"
#include "tests/support/test_window.h"

namespace {

using orv::com::Value;

// An event object as WMI hands it over, with OrvEvt holding value, or without OrvEvt.
IWbemClassObject* Event(std::optional<Value> value) {
  orv::wmi::wire::Object o;
  o.cls = "Orv_Event";
  if (value) {
    orv::wmi::wire::Property p;
    p.name = "OrvEvt";
    p.type = CIM_UINT32;
    p.value = *value;
    o.props.push_back(p);
  }
  return orv::wmi::detail::WbemObject::Make(o);
}

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
  EXPECT_EQ(sink->QueryInterface(IID_IWbemObjectSink, &asSink), WBEM_S_NO_ERROR);
  EXPECT_EQ(asSink, static_cast<IWbemObjectSink*>(sink));
  EXPECT_EQ(sink->Release(), 1u);
  EXPECT_EQ(sink->QueryInterface(IID_IUnknown, &asSink), WBEM_S_NO_ERROR);
  EXPECT_EQ(asSink, static_cast<IUnknown*>(sink));
  EXPECT_EQ(sink->Release(), 1u);
  EXPECT_EQ(sink->QueryInterface(IID_IWbemServices, &asSink), E_NOINTERFACE);
  EXPECT_EQ(asSink, nullptr);

  MSG msg{};
  auto deliver = [&](std::optional<Value> value, LONG count = 1) {
    IWbemClassObject* event = Event(std::move(value));
    IWbemClassObject* objects[3] = {event, event, event};
    EXPECT_EQ(sink->Indicate(count, objects), WBEM_S_NO_ERROR);
    event->Release();
    return Pending(window, &msg);
  };
  EXPECT_EQ(deliver(std::nullopt), 0);  // no OrvEvt at all
  EXPECT_EQ(deliver(Value::Null()), 0);
  EXPECT_EQ(deliver(Value{}), 0);
  EXPECT_EQ(deliver(Value::Str(u"0x5F")), 0);
  EXPECT_EQ(deliver(Value::Int(VT_I4, 0x0123), 0), 0);
  EXPECT_EQ(deliver(Value::Int(VT_I4, 0x0123), 3), 1);
  EXPECT_EQ(msg.wParam, 0x23u);
  EXPECT_EQ(msg.lParam, 0x01);
  EXPECT_EQ(deliver(Value::Int(VT_I4, 0x7FFF845F)), 1);
  EXPECT_EQ(msg.wParam, 0x5Fu);
  EXPECT_EQ(msg.lParam, 0x84);
  EXPECT_EQ(sink->Release(), 0u);
  DestroyWindow(window);
}

}  // namespace
