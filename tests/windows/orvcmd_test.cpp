// orvcmd.exe against wine's own WMI, which none of us wrote: the command strings
// give the result texts that wine's answers call for.
#include "tests/windows/wine_fixture.h"

namespace orv::test {
namespace {

using WineOrvcmd = WineTest;

TEST_F(WineOrvcmd, CommandStringsReadWinesWmiAndNameItsFailures) {
  RunResult r = wine().Run("orvcmd.exe", {"root\\CIMV2:Q:Win32_BIOS:Manufacturer:0",  // a real value
                                          "root\\Nowhere:Q:Win32_BIOS:Manufacturer:0",  // unknown namespace
                                          "root\\CIMV2:Q:Win32_BIOS:NoSuchProperty:0",  // unknown property
                                          // wine answers an unknown class with an empty result set, so
                                          // there is no such instance: the empty line
                                          "root\\WMI:Q:Orv_Device:Device:0",
                                          "root\\CIMV2:q:Win32_BIOS:Manufacturer:0"});  // malformed
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Lines(r.out),
            "The Wine Project\n"
            "WBEM_E_INVALID_NAMESPACE\n"
            "WBEM_E_NOT_FOUND\n"
            "\n"
            "Please input correct parameter !\n");
}

}  // namespace
}  // namespace orv::test
