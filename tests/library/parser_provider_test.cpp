// Command strings run against the real firmware provider: round trips, the
// reading rules, status texts of real failures, instances that do not exist,
// bounded results and balanced COM initialisation.
#include <cstring>
#include <string>
#include <thread>

#include "platform/wmi/sim/apartment.h"
#include "tests/library/provider_fixture.h"

namespace {

using orv::test::ProviderTest;

constexpr const char kBad[] = "Please input correct parameter !";

TEST_F(ProviderTest, QueriesAndSetsRoundTrip) {
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:5"), "5");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:1"), "5");
  // The value field is read as decimal: 0x1F gives 0, 010 gives 10, 007 gives 7.
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:0x1F"), "0");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:1"), "0");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:010"), "10");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:1"), "10");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:007"), "7");
  // The instance field too: 1x is instance 1, abc instance 0.
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:1x"), "7");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_Software:Software:0:1"), "1");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Software:Software:abc"), "1");
  // Writing one instance leaves the other alone.
  std::string other = Cmd("root\\WMI:Q:Orv_System:System:0");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:3"), "3");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:0"), other);
  // Strings come back as text; namespaces are not case-sensitive.
  Sim({"set", "bios", "V1.07QT9", "Orv"});
  EXPECT_EQ(Cmd("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0"), "V1.07QT9");
  EXPECT_EQ(Cmd("ROOT\\cimv2:Q:Win32_BIOS:Manufacturer:0"), "Orv");
}

TEST_F(ProviderTest, FailuresGiveStatusTexts) {
  EXPECT_EQ(Cmd("root\\Nowhere:Q:Orv_Device:Device:0"), "WBEM_E_INVALID_NAMESPACE");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Nothing:Device:0"), "WBEM_E_INVALID_CLASS");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Nothing:0"), "WBEM_E_NOT_FOUND");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_Device:Nothing:0:1"), "WBEM_E_NOT_FOUND");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv Device:Device:0"), "WBEM_E_INVALID_QUERY");
  // A text that is not a number for an 8-bit register is WMI's type mismatch.
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:300"), "WBEM_E_TYPE_MISMATCH");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:-3"), "WBEM_E_TYPE_MISMATCH");
  // Malformed lines never reach WMI, whatever else is wrong with them.
  EXPECT_EQ(Cmd("root\\Nowhere:q:Orv_Device:Device:0"), kBad);
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:0:"), kBad);
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:"), kBad);
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1"), kBad);
  EXPECT_EQ(Cmd("no colon"), kBad);
  // Values outside the 32-bit range are refused before anything is written.
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:3"), "3");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_System:System:1:4294967296"), kBad);
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_System:System:1"), "3");
}

TEST_F(ProviderTest, InstancesThatDoNotExistGiveAnEmptyLine) {
  std::string before = Cmd("root\\WMI:Q:Orv_Device:Device:0");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:2"), "");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:-1"), "");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:2147483647"), "");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:99999999999999999999"), "");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:-99999999999999999999"), "");
  // A set of a missing instance writes nothing and does not claim it did.
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_Software:Software:1:1"), "");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_Device:Device:-1:0"), "");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_Device:Device:4294967296:0"), "");
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:0"), before);
}

TEST_F(ProviderTest, AValueWithoutTextFormGivesTheConversionStatus) {
  // A null has no text: the conversion's own status, which reads as 0 like every failure.
  EXPECT_EQ(Cmd("root\\CIMV2:Q:Win32_BIOS:SerialNumber:0"), "0x80020005");
  COrvWmiAcpi wmi;
  char slot[260] = "untouched", err[260] = {};
  const char16_t* serial = u"SerialNumber";
  CPtrArray slots{slot};
  EXPECT_FALSE(wmi.QueryWMIProperty(u"Select * from Win32_BIOS", &serial, slots, err, u"root\\CIMV2", u"WQL"));
  EXPECT_STREQ(err, "0x80020005");
  EXPECT_STREQ(slot, "untouched");
}

TEST_F(ProviderTest, OpCodeMLeavesTheBufferAsItWas) {
  char buf[260];
  std::strcpy(buf, "earlier text");
  COrvWmiAcpi wmi;
  wmi.CallOrvWmiAcpiParser("root\\WMI:M:Orv_Device:Device:0", buf, sizeof buf);
  EXPECT_STREQ(buf, "earlier text");
  wmi.CallOrvWmiAcpiParser("x:M:", buf);
  EXPECT_STREQ(buf, "earlier text");
}

TEST_F(ProviderTest, LongValuesAreCutToTheirSlotAndTheCallersBuffer) {
  std::string longText(300, 'v');
  longText.replace(6, 2, "QT");
  Sim({"set", "bios", longText});
  EXPECT_EQ(Cmd("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0"), longText.substr(0, 259));
  EXPECT_EQ(Cmd("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0", 180), longText.substr(0, 179));
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Nothing:X:0", 10), "WBEM_E_IN");
  EXPECT_EQ(Cmd("no colon", 1), "");
  // The unbounded form trusts a 260-byte buffer and never writes past it.
  char buf[260 + 8];
  std::memset(buf, 'Z', sizeof buf);
  COrvWmiAcpi wmi;
  wmi.CallOrvWmiAcpiParser("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0", buf);
  EXPECT_EQ(std::strlen(buf), 259u);
  for (std::size_t i = 260; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 'Z');
  // A cut never splits a character: two-byte characters end on a whole one.
  std::string wide = "vvvvvvQT";
  for (int i = 0; i < 150; ++i) wide += "\xC3\xA4";
  Sim({"set", "bios", wide});
  EXPECT_EQ(Cmd("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0"), wide.substr(0, 258));
  EXPECT_EQ(Cmd("root\\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0", 180), wide.substr(0, 178));
}

TEST_F(ProviderTest, ProviderDownGivesTheTransportFailure) {
  Sim({"stop"});
  EXPECT_EQ(Cmd("root\\WMI:Q:Orv_Device:Device:0"), "0x800706ba");
  EXPECT_EQ(Cmd("root\\WMI:S:Orv_Software:Software:0:1"), "0x800706ba");
  EXPECT_EQ(Cmd("garbage"), kBad);
}

TEST_F(ProviderTest, EveryCallBalancesComOnItsThread) {
  std::thread worker([] {
    EXPECT_EQ(orv::com::ComInitDepth(), 0);
    Cmd("root\\WMI:Q:Orv_Device:Device:0");
    Cmd("root\\Nowhere:Q:Orv_Device:Device:0");
    Cmd("root\\WMI:S:Orv_Software:Software:0:1");
    Cmd("root\\WMI:Q:Orv_Device:Device:7");
    Cmd("bad");
    EXPECT_EQ(orv::com::ComInitDepth(), 0);
    {
      COrvWmiAcpi outer;
      EXPECT_EQ(orv::com::ComInitDepth(), 1);
      Cmd("root\\WMI:Q:Orv_Device:Device:0");
      EXPECT_EQ(orv::com::ComInitDepth(), 1);
    }
    EXPECT_EQ(orv::com::ComInitDepth(), 0);
  });
  worker.join();
}

}  // namespace
