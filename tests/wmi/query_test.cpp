// Connecting, querying and reading through the real provider: the status codes of
// every wrong input, the firmware classes' defaults and the system properties.
#include "tests/wmi/fixture.h"

#include "platform/text/sim/ansi.h"

namespace orv::wmi::test {
namespace {

TEST_F(WmiTest, ConnectAcceptsKnownNamespacesInAnyCaseAndRefusesOthers) {
  for (auto ns : {u"root\\WMI", u"ROOT\\wmi", u"root\\cimv2", u"root/WMI", u"\\\\.\\root\\CIMV2"}) {
    com_ptr<IWbemServices> s;
    EXPECT_EQ(TryConnect(ns, &s), S_OK);
  }
  com_ptr<IWbemServices> s;
  EXPECT_EQ(TryConnect(u"root\\Nothing", &s), WBEM_E_INVALID_NAMESPACE);
  EXPECT_FALSE(s);
  // The namespace crosses to the WMI service as a BSTR: a plain string is refused.
  com_ptr<IWbemLocator> locator;
  ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put_void()),
            S_OK);
  EXPECT_EQ(locator->ConnectServer(const_cast<BSTR>(u"root\\WMI"), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                   s.put()),
            WBEM_E_INVALID_PARAMETER);
  StopProvider();
  EXPECT_EQ(TryConnect(u"root\\WMI", &s), HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));
}

TEST_F(WmiTest, QueryStatusCodes) {
  auto s = Connect();
  com_ptr<IEnumWbemClassObject> e;
  EXPECT_EQ(s->ExecQuery(Bstr(u"SQL"), Bstr(u"Select * from Orv_Device"), 0, nullptr, e.put()), WBEM_E_INVALID_QUERY_TYPE);
  for (auto q : {u"Select * from", u"Select Device from Orv_Device", u"Select *from Orv_Device",
                 u"Select * from Orv_Device where Device = 1", u"Delete * from Orv_Device", u""}) {
    EXPECT_EQ(s->ExecQuery(Bstr(u"WQL"), Bstr(q), 0, nullptr, e.put()), WBEM_E_INVALID_QUERY) << text::WideToAnsi(q);
    EXPECT_FALSE(e);
  }
  EXPECT_EQ(s->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from Orv_Nothing"), 0, nullptr, e.put()), WBEM_E_INVALID_CLASS);
  // A class of the other namespace is unknown here.
  EXPECT_EQ(s->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from Win32_BIOS"), 0, nullptr, e.put()), WBEM_E_INVALID_CLASS);
  // The strings cross to the WMI service as BSTRs: a plain string is refused.
  EXPECT_EQ(s->ExecQuery(const_cast<BSTR>(u"WQL"), Bstr(u"Select * from Orv_Device"), 0, nullptr, e.put()),
            WBEM_E_INVALID_PARAMETER);
  EXPECT_EQ(s->ExecQuery(Bstr(u"WQL"), nullptr, 0, nullptr, e.put()), WBEM_E_INVALID_PARAMETER);
  // Keywords in any case, several blanks between the words.
  EXPECT_EQ(s->ExecQuery(Bstr(u"wql"), Bstr(u"  SELECT   *\tFROM  orv_device "), 0, nullptr, e.put()), S_OK);
}

TEST_F(WmiTest, FirmwareClassesServeTheirInstancesInOrder) {
  auto s = Connect();
  auto device = Query(s.get(), u"Orv_Device");
  ASSERT_EQ(device.size(), 2u);
  EXPECT_EQ(Int(device[0].get(), u"Device"), 0x8B);  // wireless, bluetooth, webcam, disk powered
  EXPECT_EQ(Int(device[1].get(), u"Device"), 0x80);  // has the switchable disk
  EXPECT_EQ(Query(s.get(), u"Orv_System").size(), 2u);
  EXPECT_EQ(Query(s.get(), u"Orv_Software").size(), 1u);
  auto ap = Query(s.get(), u"Orv_AP");
  ASSERT_EQ(ap.size(), 2u);
  EXPECT_EQ(Int(ap[1].get(), u"AP"), 17);
  EXPECT_EQ(Query(s.get(), u"Orv_Event").size(), 0u);  // an event class has no instances

  // The same order on every query: the relative paths name instance 0, then 1.
  for (int round = 0; round < 3; ++round) {
    auto again = Query(s.get(), u"Orv_Device");
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(Str(again[0].get(), u"__RELPATH"), u"Orv_Device.InstanceName=\"ACPI\\\\ORV0001\\\\0_0\"");
    EXPECT_EQ(Str(again[1].get(), u"__RELPATH"), u"Orv_Device.InstanceName=\"ACPI\\\\ORV0001\\\\0_1\"");
  }
}

TEST_F(WmiTest, GetReadsPropertiesSystemPropertiesAndRefusesUnknownNames) {
  auto s = Connect();
  auto device = Query(s.get(), u"Orv_Device");
  ASSERT_FALSE(device.empty());
  IWbemClassObject* o = device[0].get();
  Var v;
  CIMTYPE type = CIM_EMPTY;
  LONG flavor = -1;
  ASSERT_EQ(o->Get(u"Device", 0, v.get(), &type, &flavor), S_OK);
  EXPECT_EQ(type, CIM_UINT8);
  EXPECT_EQ(flavor, WBEM_FLAVOR_ORIGIN_LOCAL);
  EXPECT_EQ(v->vt, VT_UI1);
  EXPECT_EQ(v->bVal, 139);
  Var text;
  ASSERT_EQ(VariantChangeType(text.get(), v.get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(orv::test::TextOf(*text.get()), u"139");
  EXPECT_EQ(Str(o, u"__CLASS"), u"Orv_Device");
  EXPECT_EQ(Str(o, u"__PATH"), u"\\\\ORVBOOK\\root\\WMI:" + Str(o, u"__RELPATH"));
  Var genus;
  ASSERT_EQ(o->Get(u"__GENUS", 0, genus.get(), nullptr, &flavor), S_OK);
  EXPECT_EQ(genus->lVal, WBEM_GENUS_INSTANCE);
  EXPECT_EQ(flavor, WBEM_FLAVOR_ORIGIN_SYSTEM);
  Var missing;
  EXPECT_EQ(o->Get(u"Nothing", 0, missing.get(), nullptr, nullptr), WBEM_E_NOT_FOUND);
  EXPECT_EQ(o->Get(u"__NOTHING", 0, missing.get(), nullptr, nullptr), WBEM_E_NOT_FOUND);
  EXPECT_EQ(missing->vt, VT_EMPTY);
  // Property names are compared without letter case, as WMI does.
  Var again;
  EXPECT_EQ(o->Get(u"device", 0, again.get(), nullptr, nullptr), S_OK);
}

TEST_F(WmiTest, BiosCarriesTheMakerMarkAndIsConfigurable) {
  auto s = Connect(u"root\\CIMV2");
  auto bios = Query(s.get(), u"Win32_BIOS");
  ASSERT_EQ(bios.size(), 1u);
  auto version = Str(bios[0].get(), u"SMBIOSBIOSVersion");
  ASSERT_GE(version.size(), 8u);
  EXPECT_EQ(version.substr(6, 2), u"QT");
  Control({"set", "bios", "A1.2", "Other Maker"});
  bios = Query(s.get(), u"Win32_BIOS");
  EXPECT_EQ(Str(bios[0].get(), u"SMBIOSBIOSVersion"), u"A1.2");
  EXPECT_EQ(Str(bios[0].get(), u"Manufacturer"), u"Other Maker");
  Control({"set", "asl", "16"});
  auto w = Connect();
  EXPECT_EQ(Int(Query(w.get(), u"Orv_AP")[1].get(), u"AP"), 16);
}

TEST_F(WmiTest, NextHandsOutBatchesAndEndsWithFalse) {
  auto s = Connect();
  com_ptr<IEnumWbemClassObject> e;
  ASSERT_EQ(s->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from Orv_Device"), 0, nullptr, e.put()), S_OK);
  IWbemClassObject* batch[3] = {};
  ULONG got = 99;
  EXPECT_EQ(e->Next(WBEM_INFINITE, 3, batch, &got), WBEM_S_FALSE);
  EXPECT_EQ(got, 2u);
  for (ULONG i = 0; i < got; ++i) batch[i]->Release();
  EXPECT_EQ(e->Next(0, 1, batch, &got), WBEM_S_FALSE);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(e->Next(WBEM_INFINITE, 1, nullptr, &got), WBEM_E_INVALID_PARAMETER);
}

TEST_F(WmiTest, CallsFailAfterTheProviderWentAway) {
  auto s = Connect();
  StopProvider();
  com_ptr<IEnumWbemClassObject> e;
  EXPECT_EQ(s->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from Orv_Device"), 0, nullptr, e.put()), WBEM_E_TRANSPORT_FAILURE);
}

}  // namespace
}  // namespace orv::wmi::test
