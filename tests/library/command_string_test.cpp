// Command-string shapes and the decimal reading of instance and value fields.
#include <gtest/gtest.h>

#include "library/command_string.h"

namespace {

using orv::lib::Command;
using orv::lib::ParseCommand;
using orv::lib::ReadDecimal;

TEST(CommandString, AcceptedShapes) {
  Command q = ParseCommand("root\\WMI:Q:Orv_System:System:1");
  ASSERT_EQ(q.op, Command::Op::Query);
  EXPECT_EQ(q.nameSpace, "root\\WMI");
  EXPECT_EQ(q.className, "Orv_System");
  EXPECT_EQ(q.property, "System");
  EXPECT_EQ(q.instance, 1);

  Command s = ParseCommand("root\\WMI:S:Orv_Software:Software:0:1");
  ASSERT_EQ(s.op, Command::Op::Set);
  EXPECT_EQ(s.className, "Orv_Software");
  EXPECT_EQ(s.instance, 0);
  EXPECT_EQ(s.value, 1);
  EXPECT_TRUE(s.valueFits);

  // The namespace is passed on unchecked, even when empty.
  EXPECT_EQ(ParseCommand(":Q:C:P:0").op, Command::Op::Query);
  // M is accepted whatever follows it.
  EXPECT_EQ(ParseCommand("x:M:").op, Command::Op::Nothing);
  EXPECT_EQ(ParseCommand("x:M::::::").op, Command::Op::Nothing);
  EXPECT_EQ(ParseCommand(":M:garbage").op, Command::Op::Nothing);
}

TEST(CommandString, RejectedShapes) {
  for (const char* bad : {
           "",                                      // nothing
           "no colon at all",                       // no field separator
           "root\\WMI",                             // namespace only
           "root\\WMI:Q",                           // op code without its colon
           "root\\WMI:M",                           // likewise for M
           "root\\WMI:q:Orv_Device:Device:0",       // lower-case op code
           "root\\WMI:X:Orv_Device:Device:0",       // unknown op code
           "root\\WMI::Orv_Device:Device:0",        // empty op code
           "root\\WMI:Q::Device:0",                 // empty class
           "root\\WMI:Q:Orv_Device::0",             // empty property
           "root\\WMI:Q:Orv_Device:Device:",        // empty instance
           "root\\WMI:Q:Orv_Device:Device",         // instance missing
           "root\\WMI:Q:Orv_Device:Device:0:",      // a fifth colon in a query
           "root\\WMI:Q:Orv_Device:Device:0:1",     // a value in a query
           "root\\WMI:S:Orv_Software:Software:0",   // set without value
           "root\\WMI:S:Orv_Software:Software:0:",  // empty value
           "root\\WMI:S:Orv_Software:Software::1",  // empty instance
           "root\\WMI:S:Orv_Software:Software:0:1:",  // extra colon after the value
       }) {
    EXPECT_EQ(ParseCommand(bad).op, Command::Op::Invalid) << bad;
  }
  EXPECT_EQ(ParseCommand(nullptr).op, Command::Op::Invalid);
}

TEST(CommandString, DecimalReading) {
  EXPECT_EQ(ReadDecimal("abc"), 0);
  EXPECT_EQ(ReadDecimal("12x"), 12);
  EXPECT_EQ(ReadDecimal("0x1F"), 0);
  EXPECT_EQ(ReadDecimal("010"), 10);
  EXPECT_EQ(ReadDecimal("-3"), -3);
  EXPECT_EQ(ReadDecimal("+7"), 7);
  EXPECT_EQ(ReadDecimal("  \t42"), 42);
  EXPECT_EQ(ReadDecimal("007"), 7);
  EXPECT_EQ(ReadDecimal("- 3"), 0);
  EXPECT_EQ(ReadDecimal(""), 0);
  // Far beyond any integer type: saturated, never wrapped.
  EXPECT_EQ(ReadDecimal("99999999999999999999999999"), INT64_MAX);
  EXPECT_EQ(ReadDecimal("-99999999999999999999999999"), -INT64_MAX);

  EXPECT_TRUE(ParseCommand("n:S:C:P:0:2147483647").valueFits);
  EXPECT_TRUE(ParseCommand("n:S:C:P:0:-2147483648").valueFits);
  EXPECT_FALSE(ParseCommand("n:S:C:P:0:2147483648").valueFits);
  EXPECT_FALSE(ParseCommand("n:S:C:P:0:-2147483649").valueFits);
}

}  // namespace
