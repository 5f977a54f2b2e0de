// Event subscriptions through the real provider: codes and state bytes of every
// key in both firmware generations, brightness events from the method and the
// keys, cancellation, and a provider that dies under a subscriber and comes back.
#include <map>

#include "sim/launcher.h"
#include "tests/wmi/fixture.h"

namespace orv::wmi::test {
namespace {

com_ptr<RecordingSink> Subscribe(IWbemServices* s, const OLECHAR* cls, const OLECHAR* property) {
  auto sink = RecordingSink::Make();
  sink->property = property;
  std::u16string q = u"Select * from ";
  q += cls;
  EXPECT_EQ(s->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(q), WBEM_FLAG_SEND_STATUS, nullptr, sink.get()), S_OK);
  return sink;
}

// Events raised before a subscription has found its returned provider again are
// not delivered, so the key is pressed until the sink has n values.
bool PressUntilDelivered(const std::string& key, RecordingSink* sink, std::size_t n) {
  return orv::test::WaitFor([&] {
    orv::test::Run({orv::test::Program("orv-sim"), "press", key});
    return sink->WaitValues(n, 200);
  });
}

TEST_F(WmiTest, KeysRaiseTheirCodeWithTheStateByteOnNewerFirmware) {
  auto s = Connect();
  auto sink = Subscribe(s.get(), u"Orv_Event", u"OrvEvt");
  // From the defaults: device 0x8B, system 0 / 0, on AC.
  const std::vector<std::pair<std::vector<std::string>, std::int64_t>> steps = {
      {{"press", "wireless"}, 0x835F},     // wireless off -> 0x83
      {{"press", "bluetooth"}, 0x8256},    // bluetooth off -> 0x82
      {{"press", "webcam"}, 0x8057},       // webcam off -> 0x80
      {{"press", "3g"}, 0x9084},           // 3G on -> 0x90
      {{"press", "touchpad"}, 0x0208},     // touchpad disabled
      {{"press", "turbo"}, 0x0260},        // turbo on
      {{"press", "eco"}, 0x0279},          // the register holding the ECO bit
      {{"press", "theater"}, 0x0273},
      {{"press", "userdefine"}, 0x006F},
      {{"press", "hddkey"}, 0x907B},
      {{"press", "volume-mute"}, 0x0021},
      {{"press", "volume-down"}, 0x0023},
      {{"press", "volume-up"}, 0x0032},
      {{"press", "brightness-up"}, 0x0063},
      {{"press", "brightness-down"}, 0x0062},
      {{"thermal", "s4-stage1"}, 0x09},
      {{"thermal", "s4-stage2"}, 0x01},
      {{"thermal", "s3"}, 0x0A},
      {{"raw", "event", "0x12345"}, 0x12345},
  };
  std::vector<std::int64_t> expected;
  for (auto& [words, value] : steps) {
    Control(words);
    expected.push_back(value);
  }
  ASSERT_TRUE(sink->WaitValues(expected.size()));
  EXPECT_EQ(sink->Values(), expected);
  EXPECT_EQ(s->CancelAsyncCall(sink.get()), S_OK);
  EXPECT_EQ(sink->Statuses(), std::vector<HRESULT>{static_cast<HRESULT>(WBEM_E_CALL_CANCELLED)});
  EXPECT_EQ(s->CancelAsyncCall(sink.get()), WBEM_E_NOT_FOUND);
}

TEST_F(WmiTest, OlderFirmwareSendsNoStateByteAndRadioSwitchReportsEveryRadio) {
  Control({"set", "asl", "16"});
  auto s = Connect();
  auto sink = Subscribe(s.get(), u"Orv_Event", u"OrvEvt");
  Control({"press", "wireless"});
  Control({"radio", "off"});
  ASSERT_TRUE(sink->WaitValues(4));
  EXPECT_EQ(sink->Values(), (std::vector<std::int64_t>{0x5F, 0x5F, 0x56, 0x84}));
  auto device = Query(s.get(), u"Orv_Device");
  EXPECT_EQ(Int(device[0].get(), u"Device") & 0x19, 0);  // every radio off
  Control({"set", "asl", "17"});
  Control({"radio", "on"});
  ASSERT_TRUE(sink->WaitValues(7));
  auto v = sink->Values();
  EXPECT_EQ(std::vector<std::int64_t>(v.begin() + 4, v.end()),
            (std::vector<std::int64_t>{0x8A5F, 0x8B56, 0x9B84}));
}

TEST_F(WmiTest, TurboNeedsTheAdaptorAndUnplugDropsIt) {
  auto s = Connect();
  Control({"press", "turbo"});
  Control({"ac", "unplug"});
  EXPECT_EQ(Int(Query(s.get(), u"Orv_System")[0].get(), u"System"), 0);
  auto power = Connect(u"root\\Sim");
  auto status = Query(power.get(), u"Sim_PowerStatus");
  EXPECT_EQ(Int(status[0].get(), u"ACLineStatus"), 0);
  auto sink = Subscribe(s.get(), u"Orv_Event", u"OrvEvt");
  Control({"press", "turbo"});  // on battery the key leaves turbo off
  ASSERT_TRUE(sink->WaitValues(1));
  EXPECT_EQ(sink->Values()[0], 0x0060);
  Control({"ac", "unknown"});
  EXPECT_EQ(Int(Query(power.get(), u"Sim_PowerStatus")[0].get(), u"ACLineStatus"), 255);
}

TEST_F(WmiTest, PowerEventsFollowTheAdaptor) {
  auto s = Connect(u"root\\Sim");
  auto sink = Subscribe(s.get(), u"Sim_PowerEvent", u"ACLineStatus");
  Control({"ac", "unplug"});
  Control({"ac", "unplug"});  // no change, no event
  Control({"ac", "plug"});
  ASSERT_TRUE(sink->WaitValues(2));
  EXPECT_EQ(sink->Values(), (std::vector<std::int64_t>{0, 1}));
}

TEST_F(WmiTest, SetBrightnessMethodOnEveryMonitorRaisesOneEventEach) {
  Control({"set", "monitors", "2"});
  auto s = Connect();
  auto sink = Subscribe(s.get(), u"WmiMonitorBrightnessEvent", u"Brightness");
  com_ptr<IWbemClassObject> cls, inDef, outDef;
  ASSERT_EQ(s->GetObject(Bstr(u"WmiMonitorBrightnessMethods"), 0, nullptr, cls.put(), nullptr), S_OK);
  ASSERT_EQ(cls->GetMethod(u"WmiSetBrightness", 0, inDef.put(), outDef.put()), S_OK);
  EXPECT_FALSE(outDef);
  for (auto& monitor : Query(s.get(), u"WmiMonitorBrightnessMethods")) {
    com_ptr<IWbemClassObject> in;
    ASSERT_EQ(inDef->SpawnInstance(0, in.put()), S_OK);
    Var timeout = Var::Text(u"0"), level = Var::Text(u"45");
    ASSERT_EQ(in->Put(u"Timeout", 0, timeout.get(), CIM_UINT32), S_OK);
    ASSERT_EQ(in->Put(u"Brightness", 0, level.get(), CIM_UINT8), S_OK);
    Var tooBig = Var::Text(u"300");
    EXPECT_EQ(in->Put(u"Brightness", 0, tooBig.get(), CIM_UINT8), WBEM_E_TYPE_MISMATCH);
    EXPECT_EQ(in->Put(u"Brightness", 0, level.get(), CIM_UINT32), WBEM_E_TYPE_MISMATCH);
    Bstr path(Str(monitor.get(), u"__PATH"));
    EXPECT_EQ(s->ExecMethod(path, Bstr(u"WmiSetBrightness"), 0, nullptr, in.get(), nullptr, nullptr), S_OK);
    EXPECT_EQ(s->ExecMethod(path, Bstr(u"WmiNothing"), 0, nullptr, in.get(), nullptr, nullptr),
              WBEM_E_INVALID_METHOD);
    EXPECT_EQ(s->ExecMethod(path, Bstr(u"WmiSetBrightness"), 0, nullptr, nullptr, nullptr, nullptr),
              WBEM_E_INVALID_METHOD_PARAMETERS);
  }
  ASSERT_TRUE(sink->WaitValues(2));
  EXPECT_EQ(sink->Values(), (std::vector<std::int64_t>{45, 45}));
  auto levels = Query(s.get(), u"WmiMonitorBrightness");
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(Int(levels[0].get(), u"CurrentBrightness"), 45);
  EXPECT_EQ(Int(levels[1].get(), u"CurrentBrightness"), 45);
  // The keys step the panel by 10 within 20..100 and the control command sets it,
  // one event each change; a key at an end of the range changes nothing and raises
  // nothing, and from below the range the up key goes to its bottom.
  Control({"press", "brightness-up"});
  Control({"brightness", "set", "100"});
  Control({"press", "brightness-up"});
  Control({"brightness", "set", "25"});
  Control({"press", "brightness-down"});
  Control({"press", "brightness-down"});
  Control({"brightness", "set", "10"});
  Control({"press", "brightness-down"});
  Control({"press", "brightness-up"});
  ASSERT_TRUE(sink->WaitValues(8));
  auto v = sink->Values();
  EXPECT_EQ(std::vector<std::int64_t>(v.begin() + 2, v.end()), (std::vector<std::int64_t>{55, 100, 25, 20, 10, 20}));
}

TEST_F(WmiTest, SubscriptionStatusCodes) {
  auto s = Connect();
  auto sink = RecordingSink::Make();
  EXPECT_EQ(s->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(u"Select * from Orv_Device"), 0, nullptr, sink.get()),
            WBEM_E_NOT_EVENT_CLASS);
  EXPECT_EQ(s->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(u"Select * from Orv_Nothing"), 0, nullptr, sink.get()),
            WBEM_E_INVALID_CLASS);
  EXPECT_EQ(s->ExecNotificationQueryAsync(Bstr(u"XQL"), Bstr(u"Select * from Orv_Event"), 0, nullptr, sink.get()),
            WBEM_E_INVALID_QUERY_TYPE);
  EXPECT_EQ(s->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(u"Select * from Orv_Event"), 0, nullptr, nullptr),
            WBEM_E_INVALID_PARAMETER);
  EXPECT_EQ(s->CancelAsyncCall(sink.get()), WBEM_E_NOT_FOUND);
}

TEST_F(WmiTest, TheStubForwardsAndTheSubscriptionOutlivesTheServices) {
  com_ptr<IUnsecuredApartment> apartment;
  ASSERT_EQ(CoCreateInstance(CLSID_UnsecuredApartment, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnsecuredApartment,
                             apartment.put_void()),
            S_OK);
  auto sink = RecordingSink::Make();
  com_ptr<IUnknown> stub;
  ASSERT_EQ(apartment->CreateObjectStub(sink.get(), stub.put()), S_OK);
  com_ptr<IWbemObjectSink> stubSink;
  ASSERT_EQ(stub->QueryInterface(IID_IWbemObjectSink, stubSink.put_void()), S_OK);
  {
    auto s = Connect();
    ASSERT_EQ(s->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(u"Select * from Orv_Event"), WBEM_FLAG_SEND_STATUS, nullptr,
                                            stubSink.get()),
              S_OK);
  }
  // Every local reference goes, as the library does; the layer keeps the chain alive.
  stubSink.reset();
  stub.reset();
  apartment.reset();
  Control({"press", "webcam"});
  ASSERT_TRUE(sink->WaitValues(1));
  EXPECT_EQ(sink->Values()[0], 0x8957);
  // The provider stops and comes back: the chain still delivers, with no status in between.
  StopProvider();
  StartProvider();
  ASSERT_TRUE(PressUntilDelivered("webcam", sink.get(), 2));
  EXPECT_TRUE(sink->Statuses().empty());
}

TEST_F(WmiTest, ASubscriptionWaitsForAKilledProviderAndGoesOnWhenItServesAgain) {
  StopProvider();
  auto firmware = std::make_unique<orv::test::Child>(std::vector<std::string>{orv::test::Program("orv-firmware")});
  ASSERT_TRUE(orv::test::WaitFor([] { return sim::ProviderRunning(); }));
  auto s = Connect();
  auto sink = Subscribe(s.get(), u"Orv_Event", u"OrvEvt");
  Control({"press", "wireless"});
  ASSERT_TRUE(sink->WaitValues(1));
  firmware->Signal(SIGKILL);
  firmware->Wait();
  // Its socket and lock are left behind; the next provider takes them over.
  firmware = std::make_unique<orv::test::Child>(std::vector<std::string>{orv::test::Program("orv-firmware")});
  ASSERT_TRUE(orv::test::WaitFor([] { return sim::ProviderRunning(); }));
  ASSERT_TRUE(PressUntilDelivered("wireless", sink.get(), 2));
  EXPECT_TRUE(sink->Statuses().empty());
  EXPECT_EQ(s->CancelAsyncCall(sink.get()), S_OK);
  ASSERT_TRUE(sink->WaitStatus());
  EXPECT_EQ(sink->Statuses(), std::vector<HRESULT>{static_cast<HRESULT>(WBEM_E_CALL_CANCELLED)});
}

TEST_F(WmiTest, ManySubscribersEachGetEveryEvent) {
  auto s = Connect();
  std::vector<com_ptr<RecordingSink>> sinks;
  for (int i = 0; i < 5; ++i) sinks.push_back(Subscribe(s.get(), u"Orv_Event", u"OrvEvt"));
  for (int i = 0; i < 20; ++i) Control({"press", "volume-up"});
  for (auto& sink : sinks) {
    ASSERT_TRUE(sink->WaitValues(20));
    EXPECT_EQ(sink->Values(), std::vector<std::int64_t>(20, 0x32));
    EXPECT_EQ(s->CancelAsyncCall(sink.get()), S_OK);
  }
}

}  // namespace
}  // namespace orv::wmi::test
