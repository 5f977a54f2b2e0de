// The slot-array operations and the instance count, as the tray calls them
// directly, against the real firmware provider.
#include <cstring>
#include <string>

#include "tests/library/provider_fixture.h"
#include "platform/base/unique_com.h"

namespace {

using orv::test::ProviderTest;

const char16_t* const kDevice = u"Device";
const char16_t* const kSystem = u"System";

TEST_F(ProviderTest, SlotCountPicksTheInstance) {
  Cmd("root\\WMI:S:Orv_System:System:0:2");
  Cmd("root\\WMI:S:Orv_System:System:1:6");
  COrvWmiAcpi wmi;
  char a[260] = "untouched", b[260] = "untouched", err[260] = {};
  CPtrArray one{a};
  ASSERT_TRUE(wmi.QueryWMIProperty(u"Select * from Orv_System", &kSystem, one, err, u"root\\WMI", u"WQL"));
  EXPECT_STREQ(a, "2");
  std::strcpy(a, "untouched");
  CPtrArray two{a, b};
  ASSERT_TRUE(wmi.QueryWMIProperty(u"Select * from Orv_System", &kSystem, two, err, u"root\\WMI", u"WQL"));
  EXPECT_STREQ(a, "untouched");  // placeholders are passed over
  EXPECT_STREQ(b, "6");

  // Fewer objects than slots: success, the slot as it was.
  char c[260] = "untouched";
  CPtrArray three{a, b, c};
  ASSERT_TRUE(wmi.QueryWMIProperty(u"Select * from Orv_System", &kSystem, three, err, u"root\\WMI", u"WQL"));
  EXPECT_STREQ(c, "untouched");
  CPtrArray none;
  EXPECT_TRUE(wmi.QueryWMIProperty(u"Select * from Orv_System", &kSystem, none, err, u"root\\WMI", u"WQL"));
}

TEST_F(ProviderTest, SetWritesTheLastSlotOnly) {
  COrvWmiAcpi wmi;
  char err[260] = {};
  // The slots hold OLE strings, as the library's callers allocate them.
  orv::unique_bstr empty = orv::make_bstr(u""), five = orv::make_bstr(u"5");
  CPtrArray slots{empty.get(), five.get()};
  ASSERT_TRUE(wmi.SetWMIProperty(u"Select * from Orv_System", &kSystem, slots, err, u"root\\WMI", u"WQL"));
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:1"), "5");
  std::string first = Cmd("root\\WMI:Q:Orv_System:System:0");

  // An empty last slot writes nothing and succeeds.
  CPtrArray blank{empty.get(), empty.get()};
  ASSERT_TRUE(wmi.SetWMIProperty(u"Select * from Orv_System", &kSystem, blank, err, u"root\\WMI", u"WQL"));
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:1"), "5");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:0"), first);

  // A failing set names its status and commits nothing.
  orv::unique_bstr bad = orv::make_bstr(u"not a number");
  CPtrArray wrong{bad.get()};
  EXPECT_FALSE(wmi.SetWMIProperty(u"Select * from Orv_System", &kSystem, wrong, err, u"root\\WMI", u"WQL"));
  EXPECT_STREQ(err, "WBEM_E_TYPE_MISMATCH");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:0"), first);
}

TEST_F(ProviderTest, InstanceCountAndItsFailures) {
  COrvWmiAcpi wmi;
  char err[260] = {};
  EXPECT_EQ(wmi.GetPropertyInstanceNumber(u"Select * from Orv_Device", err, u"root\\WMI", u"WQL"), 2);
  EXPECT_EQ(wmi.GetPropertyInstanceNumber(u"Select * from Orv_Software", err, u"root\\WMI", u"WQL"), 1);
  EXPECT_EQ(wmi.GetPropertyInstanceNumber(u"Select * from Orv_Event", err, u"root\\WMI", u"WQL"), 0);
  EXPECT_EQ(wmi.GetPropertyInstanceNumber(u"Select * from Orv_Nothing", err, u"root\\WMI", u"WQL"), -1);
  EXPECT_STREQ(err, "WBEM_E_INVALID_CLASS");
  EXPECT_EQ(wmi.GetPropertyInstanceNumber(u"Select * from Orv_Device", err, u"root\\Nowhere", u"WQL"), -1);
  EXPECT_STREQ(err, "WBEM_E_INVALID_NAMESPACE");
  char e2[260] = {};
  CPtrArray slot{e2};
  EXPECT_FALSE(wmi.QueryWMIProperty(u"Select * from Orv_Device", &kDevice, slot, err, u"root\\WMI", u"SQL"));
  EXPECT_STREQ(err, "WBEM_E_INVALID_QUERY_TYPE");
}

}  // namespace
