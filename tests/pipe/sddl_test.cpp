// Security descriptors from SDDL text and who they admit.
#include <gtest/gtest.h>

#include "platform/pipe/peer.h"
#include "platform/pipe/sddl.h"

namespace orv::pipe {
namespace {

constexpr char kServiceSddl[] = "D:(D;OICI;GA;;;BG)(D;OICI;GA;;;AN)(A;OICI;GRGWGX;;;AU)(A;OICI;GA;;;BA)";
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

SECURITY_DESCRIPTOR* Parse(const char* text) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  unsigned long size = 0;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptor(text, SDDL_REVISION_1, &sd, &size)) return nullptr;
  EXPECT_EQ(size, sizeof(SECURITY_DESCRIPTOR));
  return static_cast<SECURITY_DESCRIPTOR*>(sd);
}

TEST(Sddl, ServiceDescriptorAdmitsUsersAndRefusesGuests) {
  auto* sd = Parse(kServiceSddl);
  ASSERT_NE(sd, nullptr);
  EXPECT_EQ(sd->aceCount, 4);
  EXPECT_TRUE(AccessGranted(sd, kPrincipalAuthenticated, kReadWrite));
  EXPECT_TRUE(AccessGranted(sd, kPrincipalAuthenticated, GENERIC_EXECUTE));
  EXPECT_TRUE(AccessGranted(sd, kPrincipalAdministrators | kPrincipalAuthenticated, GENERIC_ALL));
  EXPECT_FALSE(AccessGranted(sd, kPrincipalGuests, GENERIC_READ));
  EXPECT_FALSE(AccessGranted(sd, kPrincipalAnonymous, GENERIC_READ));
  // A deny entry wins even over an administrator's allow entry.
  EXPECT_FALSE(AccessGranted(sd, kPrincipalAdministrators | kPrincipalGuests, kReadWrite));
  // The system account is no principal of its own in this descriptor, but uid 0 is an administrator.
  EXPECT_FALSE(AccessGranted(sd, kPrincipalSystem, kReadWrite));
  EXPECT_TRUE(AccessGranted(sd, PrincipalsOfAccount(0, 0), kReadWrite));
  EXPECT_FALSE(AccessGranted(sd, PrincipalsOfAccount(65534, 65534), kReadWrite));
  LocalFree(sd);
}

TEST(Sddl, DenyIsWeighedFirstWhateverTheOrder) {
  auto* sd = Parse("D:(A;;GA;;;AU)(D;;GW;;;AU)");
  ASSERT_NE(sd, nullptr);
  EXPECT_TRUE(AccessGranted(sd, kPrincipalAuthenticated, GENERIC_READ));
  EXPECT_FALSE(AccessGranted(sd, kPrincipalAuthenticated, kReadWrite));
  LocalFree(sd);
  // No access list admits everyone, an empty one no one; hexadecimal masks are read too.
  sd = Parse("");
  ASSERT_NE(sd, nullptr);
  EXPECT_TRUE(AccessGranted(sd, kPrincipalAnonymous, kReadWrite));
  LocalFree(sd);
  sd = Parse("D:");
  ASSERT_NE(sd, nullptr);
  EXPECT_FALSE(AccessGranted(sd, kPrincipalAdministrators, GENERIC_READ));
  LocalFree(sd);
  sd = Parse("D:(A;;0xC0000000;;;SY)");
  ASSERT_NE(sd, nullptr);
  EXPECT_TRUE(AccessGranted(sd, kPrincipalSystem, kReadWrite));
  EXPECT_FALSE(AccessGranted(sd, kPrincipalSystem, GENERIC_EXECUTE));
  LocalFree(sd);
}

TEST(Sddl, TextOutsideTheSupportedFormsIsRefused) {
  const char* bad[] = {
      "O:BA",                       // owner part
      "D:(A;;GA;;;WD)",             // unknown principal
      "D:(A;;GZ;;;AU)",             // unknown right
      "D:(A;OICI;;;;AU)",           // no rights
      "D:(X;;GA;;;AU)",             // unknown entry type
      "D:(A;XX;GA;;;AU)",           // unknown flag
      "D:(A;;GA;;;AU",              // unclosed entry
      "D:(A;;GA;;;AU;extra)",       // seven fields
      "D:(A;;GA;guid;;AU)",         // object entry
      "D:(A;;GA;;;AU)junk",         // trailing text
      "D:(A;;0xZZ;;;AU)",           // bad hexadecimal mask
  };
  for (const char* text : bad) {
    PSECURITY_DESCRIPTOR sd = reinterpret_cast<PSECURITY_DESCRIPTOR>(1);
    SetLastError(0);
    EXPECT_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptor(text, SDDL_REVISION_1, &sd, nullptr)) << text;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << text;
    EXPECT_EQ(sd, reinterpret_cast<PSECURITY_DESCRIPTOR>(1)) << "nothing handed out for " << text;
  }
  PSECURITY_DESCRIPTOR sd = nullptr;
  EXPECT_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptor(kServiceSddl, 2, &sd, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_REVISION));
  std::string many = "D:";
  for (int i = 0; i <= kMaxAces; ++i) many += "(A;;GR;;;AU)";
  EXPECT_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptor(many.c_str(), SDDL_REVISION_1, &sd, nullptr));
}

}  // namespace
}  // namespace orv::pipe
