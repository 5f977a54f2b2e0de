// Status names: the covered runs, their edges, and the hexadecimal form of the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "library/wbem_status_names.h"

namespace {

// Reaches the protected GetWMIErrMsg as the library's own callers do.
struct Probe : COrvWmiAcpi {
  std::string Text(std::uint32_t code) {
    char buf[ORV_ERROR_BUFFER];
    std::memset(buf, 'x', sizeof buf);
    GetWMIErrMsg(static_cast<std::int32_t>(code), buf);
    return buf;
  }
};

TEST(StatusNames, NamedRowsAndRunEdges) {
  Probe p;
  EXPECT_EQ(p.Text(0x80041002), "WBEM_E_NOT_FOUND");
  EXPECT_EQ(p.Text(0x80041003), "WBEM_E_ACCESS_DENIED");
  EXPECT_EQ(p.Text(0x80041010), "WBEM_E_INVALID_CLASS");
  EXPECT_EQ(p.Text(0x8004100E), "WBEM_E_INVALID_NAMESPACE");
  EXPECT_EQ(p.Text(0x80041017), "WBEM_E_INVALID_QUERY");
  EXPECT_EQ(p.Text(0x80041013), "WBEM_E_PROVIDER_LOAD_FAILURE");
  EXPECT_EQ(p.Text(0x80041001), "WBEM_E_FAILED");
  EXPECT_EQ(p.Text(0x80041049), "WBEM_E_CANNOT_CHANGE_KEY_INHERITANCE");
  EXPECT_EQ(p.Text(0x80041050), "WBEM_E_CANNOT_CHANGE_INDEX_INHERITANCE");
  EXPECT_EQ(p.Text(0x80041054), "WBEM_E_UPDATE_PROPAGATED_METHOD");
  EXPECT_EQ(p.Text(0x80041056), "WBEM_E_METHOD_DISABLED");
  EXPECT_EQ(p.Text(0x8004105D), "WBEM_E_AGGREGATING_BY_OBJECT");
  EXPECT_EQ(p.Text(0x8004105F), "WBEM_E_UNINTERPRETABLE_PROVIDER_QUERY");
  EXPECT_EQ(p.Text(0x80041076), "WBEM_E_QUALIFIER_NAME_TOO_WIDE");
  EXPECT_EQ(p.Text(0x00000001), "WBEM_S_FALSE");
  EXPECT_EQ(p.Text(0x00040001), "WBEM_S_ALREADY_EXISTS");
  EXPECT_EQ(p.Text(0x00040009), "WBEM_S_ACCESS_DENIED");
  EXPECT_EQ(p.Text(0x00040010), "WBEM_S_PARTIAL_RESULTS");
  EXPECT_EQ(p.Text(0x00040017), "WBEM_S_SOURCE_NOT_AVAILABLE");
}

TEST(StatusNames, UncoveredCodesInHexadecimal) {
  Probe p;
  EXPECT_EQ(p.Text(0x80041055), "0x80041055");
  EXPECT_EQ(p.Text(0x8004105E), "0x8004105e");
  EXPECT_EQ(p.Text(0), "0x00000000");
  EXPECT_EQ(p.Text(0x00040011), "0x00040011");
  EXPECT_EQ(p.Text(0x0004000A), "0x0004000a");
  EXPECT_EQ(p.Text(0x80041077), "0x80041077");
  EXPECT_EQ(p.Text(0x80041000), "0x80041000");
  EXPECT_EQ(p.Text(0x800706BA), "0x800706ba");   // RPC server unavailable
  EXPECT_EQ(p.Text(0x80020005), "0x80020005");   // variant type mismatch
  EXPECT_EQ(p.Text(0x00000002), "0x00000002");
}

TEST(StatusNames, ExactlyTheCoveredCodesHaveNames) {
  int named = 0;
  std::size_t longest = 0;
  for (std::uint32_t base : {0x00000000u, 0x00040000u, 0x80041000u}) {
    for (std::uint32_t low = 0; low < 0x100; ++low) {
      if (const char* n = orv::lib::WbemStatusName(static_cast<std::int32_t>(base + low))) {
        ++named;
        longest = std::max(longest, std::strlen(n));
        EXPECT_EQ(std::string(n).rfind(base & 0x80000000u ? "WBEM_E_" : "WBEM_S_", 0), 0u) << n;
      }
    }
  }
  EXPECT_EQ(named, 122);
  EXPECT_EQ(longest, 38u);  // so a 40-byte buffer always holds the text
}

}  // namespace
