// A provider fed broken requests (truncated, unknown, forged counts)
// answers or drops that client and goes on serving the others.
#include "platform/wmi/sim/channel.h"
#include "platform/wmi/sim/wire.h"
#include "tests/wmi/fixture.h"

namespace orv::wmi::test {
namespace {

TEST_F(WmiTest, BrokenRequestsHarmOnlyTheirSender) {
  std::vector<std::string> bodies = {
      std::string(),                          // no operation at all
      std::string("\x02\xFF\xFF\xFF\x7F", 5), // a string length far past the end
      std::string("\x63", 1),                 // unknown operation
  };
  {
    wire::Writer forged;  // a PutInstance claiming four billion properties
    forged.U8(static_cast<std::uint8_t>(wire::Op::PutInstance));
    forged.Str("root\\WMI");
    forged.Str("Orv_Software.InstanceName=\"ACPI\\\\ORV0001\\\\0_0\"");
    forged.U32(0);
    forged.U32(0xFFFFFFFFu);
    bodies.push_back(forged.Body());
  }
  for (auto& body : bodies) {
    Channel ch;
    ASSERT_TRUE(ch.Connect(ProviderSocketPath()));
    std::string reply;
    ASSERT_TRUE(ch.Call(body, &reply, 5000));
    wire::Reader r(reply);
    EXPECT_TRUE(FAILED(static_cast<HRESULT>(r.U32())));
  }
  auto s = Connect();
  EXPECT_EQ(Int(Query(s.get(), u"Orv_Software")[0].get(), u"Software"), 0);  // the forged write changed nothing
}

TEST_F(WmiTest, AClientThatNeverReadsItsAnswersIsDropped) {
  Channel greedy;
  ASSERT_TRUE(greedy.Connect(ProviderSocketPath()));
  wire::Writer query;
  query.U8(static_cast<std::uint8_t>(wire::Op::Query));
  query.Str("root\\CIMV2");
  query.Str("Win32_BIOS");
  // Far more answers than the provider keeps for one client (each is some 300 bytes).
  constexpr int kRequests = 60000;
  int sent = 0;
  while (sent < kRequests && greedy.Send(query.Body())) ++sent;
  int answered = 0;
  std::string reply;
  while (greedy.Receive(&reply, 5000)) ++answered;
  EXPECT_LT(answered, sent) << "the answers were kept without limit";
  auto s = Connect();  // the others are still served
  EXPECT_EQ(Int(Query(s.get(), u"Orv_Software")[0].get(), u"Software"), 0);
}

TEST(Wire, ReaderStopsAtTheEndOfTruncatedInput) {
  wire::Object o;
  o.cls = "Orv_Device";
  wire::Property p;
  p.name = "Device";
  p.type = CIM_UINT8;
  p.value = com::Value::Int(VT_UI1, 7);
  o.props.push_back(p);
  wire::Writer w;
  w.Obj(o);
  const std::string& full = w.Body();
  {
    wire::Reader r(full);
    wire::Object back = r.Obj();
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.AtEnd());
    ASSERT_EQ(back.props.size(), 1u);
    EXPECT_EQ(back.props[0].value.num, 7);
  }
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    std::string part = full.substr(0, cut);
    wire::Reader r(part);
    r.Obj();
    EXPECT_FALSE(r.ok()) << cut;
  }
}

}  // namespace
}  // namespace orv::wmi::test
