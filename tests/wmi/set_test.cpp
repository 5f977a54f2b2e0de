// Writing through Put and PutInstance: WMI's text conversion, read-only and
// missing properties, the hardware's reaction to a write, persistence across a
// provider restart and a damaged state file.
#include <filesystem>
#include <fstream>

#include "platform/home/sim/home.h"
#include "sim/launcher.h"
#include "tests/wmi/fixture.h"

namespace orv::wmi::test {
namespace {

Var Text(const OLECHAR* s) { return Var::Text(s); }

TEST_F(WmiTest, PutConvertsTextToThePropertyTypeAndPutInstanceCommits) {
  auto s = Connect();
  auto system = Query(s.get(), u"Orv_System");
  ASSERT_EQ(system.size(), 2u);
  Var five = Text(u"5");
  ASSERT_EQ(system[1]->Put(u"System", 0, five.get(), CIM_EMPTY), S_OK);
  EXPECT_EQ(Int(system[1].get(), u"System"), 5);
  // Only the copy changed until it is committed.
  EXPECT_EQ(Int(Query(s.get(), u"Orv_System")[1].get(), u"System"), 0);
  ASSERT_EQ(s->PutInstance(system[1].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), S_OK);
  auto again = Query(s.get(), u"Orv_System");
  EXPECT_EQ(Int(again[1].get(), u"System"), 5);
  EXPECT_EQ(Int(again[0].get(), u"System"), 0);  // the other instance is untouched

  for (auto bad : {u"abc", u"256", u"-1", u"5x", u"", u"99999999999999999999"}) {
    Var v = Text(bad);
    EXPECT_EQ(again[1]->Put(u"System", 0, v.get(), CIM_EMPTY), WBEM_E_TYPE_MISMATCH);
  }
  EXPECT_EQ(Int(again[1].get(), u"System"), 5);  // a refused Put leaves the copy as it was
  Var v = Text(u"1");
  EXPECT_EQ(again[1]->Put(u"Nothing", 0, v.get(), CIM_EMPTY), WBEM_E_NOT_FOUND);
  EXPECT_EQ(again[1]->Put(u"__PATH", 0, v.get(), CIM_EMPTY), WBEM_E_READ_ONLY);
}

TEST_F(WmiTest, ReadOnlyPropertiesAreRefusedWholly) {
  auto s = Connect();
  auto device = Query(s.get(), u"Orv_Device");
  Var v = Text(u"0");
  ASSERT_EQ(device[1]->Put(u"Device", 0, v.get(), CIM_EMPTY), S_OK);
  EXPECT_EQ(s->PutInstance(device[1].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), WBEM_E_READ_ONLY);
  EXPECT_EQ(Int(Query(s.get(), u"Orv_Device")[1].get(), u"Device"), 0x80);

  auto ap = Query(s.get(), u"Orv_AP");
  ASSERT_EQ(ap[1]->Put(u"AP", 0, v.get(), CIM_EMPTY), S_OK);
  EXPECT_EQ(s->PutInstance(ap[1].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), WBEM_E_READ_ONLY);

  auto monitors = Query(s.get(), u"WmiMonitorBrightness");
  ASSERT_EQ(monitors[0]->Put(u"CurrentBrightness", 0, v.get(), CIM_EMPTY), S_OK);
  EXPECT_EQ(s->PutInstance(monitors[0].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), WBEM_E_READ_ONLY);
  EXPECT_EQ(Int(Query(s.get(), u"WmiMonitorBrightness")[0].get(), u"CurrentBrightness"), 80);

  // A new instance cannot be made: it has no path.
  com_ptr<IWbemClassObject> cls, fresh;
  ASSERT_EQ(s->GetObject(Bstr(u"Orv_System"), 0, nullptr, cls.put(), nullptr), S_OK);
  ASSERT_EQ(cls->SpawnInstance(0, fresh.put()), S_OK);
  EXPECT_EQ(s->PutInstance(fresh.get(), 0, nullptr, nullptr), WBEM_E_INVALID_OBJECT_PATH);
}

TEST_F(WmiTest, SwitchingTheDiskPowerRaisesTheFirmwaresEvent) {
  auto s = Connect();
  auto sink = RecordingSink::Make();
  ASSERT_EQ(s->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(u"Select * from Orv_Event"), WBEM_FLAG_SEND_STATUS, nullptr,
                                          sink.get()),
            S_OK);
  auto device = Query(s.get(), u"Orv_Device");
  Var off = Text(u"11");  // 0x0B: radios as they were, disk off
  ASSERT_EQ(device[0]->Put(u"Device", 0, off.get(), CIM_EMPTY), S_OK);
  ASSERT_EQ(s->PutInstance(device[0].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), S_OK);
  ASSERT_TRUE(sink->WaitValues(1));
  EXPECT_EQ(sink->Values()[0], 0x0B78);
  EXPECT_EQ(s->CancelAsyncCall(sink.get()), S_OK);
}

TEST_F(WmiTest, StatePersistsAcrossProviderRestarts) {
  {
    auto s = Connect();
    auto software = Query(s.get(), u"Orv_Software");
    Var one = Text(u"1");
    ASSERT_EQ(software[0]->Put(u"Software", 0, one.get(), CIM_EMPTY), S_OK);
    ASSERT_EQ(s->PutInstance(software[0].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), S_OK);
  }
  Control({"press", "wireless"});
  Control({"set", "asl", "12"});
  Control({"set", "monitors", "2"});
  StopProvider();
  StartProvider();
  auto s = Connect();
  EXPECT_EQ(Int(Query(s.get(), u"Orv_Software")[0].get(), u"Software"), 1);
  EXPECT_EQ(Int(Query(s.get(), u"Orv_Device")[0].get(), u"Device"), 0x83);
  EXPECT_EQ(Int(Query(s.get(), u"Orv_AP")[1].get(), u"AP"), 12);
  EXPECT_EQ(Query(s.get(), u"WmiMonitorBrightness").size(), 2u);
  // No temporary file is left behind by the atomic writes.
  std::ifstream tmp(home::Path("wmi/firmware.state.tmp"));
  EXPECT_FALSE(tmp.good());
}

TEST_F(WmiTest, AChangeThatCannotBeSavedFailsAndIsUndone) {
  auto s = Connect();
  auto sink = RecordingSink::Make();
  ASSERT_EQ(s->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(u"Select * from Orv_Event"), WBEM_FLAG_SEND_STATUS, nullptr,
                                          sink.get()),
            S_OK);
  // The state file's temporary twin taken by a folder: no save can succeed, whoever runs the test.
  const std::string blocker = home::Path("wmi/firmware.state.tmp");
  ASSERT_TRUE(std::filesystem::create_directory(blocker));
  auto system = Query(s.get(), u"Orv_System");
  Var five = Text(u"5");
  ASSERT_EQ(system[1]->Put(u"System", 0, five.get(), CIM_EMPTY), S_OK);
  EXPECT_EQ(s->PutInstance(system[1].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), WBEM_E_FAILED);
  EXPECT_EQ(Int(Query(s.get(), u"Orv_System")[1].get(), u"System"), 0) << "the unsaved change stayed";
  int code = -1;
  std::string text;
  ASSERT_TRUE(sim::SendControl({"press", "wireless"}, &code, &text));
  EXPECT_EQ(code, 1) << text;
  EXPECT_NE(text.find("cannot be saved"), std::string::npos) << text;
  EXPECT_EQ(Int(Query(s.get(), u"Orv_Device")[0].get(), u"Device"), 0x8B) << "the unsaved press stayed";

  // Once the state can be saved again, a change is done, kept, and its event is the first one raised.
  std::filesystem::remove(blocker);
  Control({"press", "webcam"});
  ASSERT_TRUE(sink->WaitValues(1));
  EXPECT_EQ(sink->Values().size(), 1u) << "the event of an undone press was raised";
  EXPECT_EQ(s->CancelAsyncCall(sink.get()), S_OK);
  StopProvider();
  StartProvider();
  auto after = Connect();
  EXPECT_EQ(Int(Query(after.get(), u"Orv_Device")[0].get(), u"Device"), 0x89);
  EXPECT_EQ(Int(Query(after.get(), u"Orv_System")[1].get(), u"System"), 0);
}

TEST_F(WmiTest, DamagedStateFileGivesDefaultsAndIsKeptAside) {
  Control({"press", "turbo"});
  StopProvider();
  std::string path = home::Path("wmi/firmware.state");
  std::ofstream(path, std::ios::trunc) << "device0=131\nsystem0=banana\n";
  sim::Provider p;
  std::string error;
  ASSERT_TRUE(p.Open(&error)) << error;
  EXPECT_NE(p.LoadNotice().find("damaged"), std::string::npos) << p.LoadNotice();
  EXPECT_NE(p.LoadNotice().find("line 2"), std::string::npos) << p.LoadNotice();
  std::ifstream kept(path + ".damaged");
  std::string first;
  std::getline(kept, first);
  EXPECT_EQ(first, "device0=131");  // nothing of the damaged file is lost
}

}  // namespace
}  // namespace orv::wmi::test
