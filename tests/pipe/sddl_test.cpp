// Security descriptors from SDDL text and who they admit.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include "platform/security/sim/access.h"
#include "platform/security/sim/principals.h"

namespace orv::security {
namespace {

constexpr char kServiceSddl[] = "D:(D;OICI;GA;;;BG)(D;OICI;GA;;;AN)(A;OICI;GRGWGX;;;AU)(A;OICI;GA;;;BA)";
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

// The descriptor of the text, checked to be one block of the size announced.
SECURITY_DESCRIPTOR* Parse(const char* text) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  ULONG size = 0;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(text, SDDL_REVISION_1, &sd, &size)) return nullptr;
  auto* header = static_cast<SECURITY_DESCRIPTOR*>(sd);
  EXPECT_GE(size, sizeof(SECURITY_DESCRIPTOR));
  if (header->Dacl) {
    const auto* acl = reinterpret_cast<const char*>(header->Dacl);
    EXPECT_TRUE(acl >= static_cast<const char*>(sd) && acl + header->Dacl->AclSize <= static_cast<const char*>(sd) + size)
        << "the access list lies outside the block";
  }
  return header;
}

bool Granted(SECURITY_DESCRIPTOR* sd, std::uint32_t principals, DWORD desired) {
  return AccessGranted(RulesOf(sd), principals, desired);
}

TEST(Sddl, ServiceDescriptorAdmitsUsersAndRefusesGuests) {
  auto* sd = Parse(kServiceSddl);
  ASSERT_NE(sd, nullptr);
  EXPECT_EQ(sd->Revision, SECURITY_DESCRIPTOR_REVISION);
  EXPECT_TRUE(sd->Control & SE_DACL_PRESENT);
  ASSERT_NE(sd->Dacl, nullptr);
  EXPECT_EQ(sd->Dacl->AceCount, 4);
  EXPECT_TRUE(Granted(sd, kPrincipalAuthenticated, kReadWrite));
  EXPECT_TRUE(Granted(sd, kPrincipalAuthenticated, GENERIC_EXECUTE));
  EXPECT_TRUE(Granted(sd, kPrincipalAdministrators | kPrincipalAuthenticated, GENERIC_ALL));
  EXPECT_FALSE(Granted(sd, kPrincipalGuests, GENERIC_READ));
  EXPECT_FALSE(Granted(sd, kPrincipalAnonymous, GENERIC_READ));
  // A deny entry wins even over an administrator's allow entry.
  EXPECT_FALSE(Granted(sd, kPrincipalAdministrators | kPrincipalGuests, kReadWrite));
  // The system account is no principal of its own in this descriptor, but uid 0 is an administrator.
  EXPECT_FALSE(Granted(sd, kPrincipalSystem, kReadWrite));
  EXPECT_TRUE(Granted(sd, PrincipalsOfAccount(0, 0), kReadWrite));
  EXPECT_FALSE(Granted(sd, PrincipalsOfAccount(65534, 65534), kReadWrite));
  LocalFree(sd);
}

TEST(Sddl, DenyIsWeighedFirstWhateverTheOrder) {
  auto* sd = Parse("D:(A;;GA;;;AU)(D;;GW;;;AU)");
  ASSERT_NE(sd, nullptr);
  EXPECT_TRUE(Granted(sd, kPrincipalAuthenticated, GENERIC_READ));
  EXPECT_FALSE(Granted(sd, kPrincipalAuthenticated, kReadWrite));
  LocalFree(sd);
  // No access list admits everyone, an empty one no one; hexadecimal masks are read too.
  sd = Parse("");
  ASSERT_NE(sd, nullptr);
  EXPECT_FALSE(sd->Control & SE_DACL_PRESENT);
  EXPECT_TRUE(Granted(sd, kPrincipalAnonymous, kReadWrite));
  LocalFree(sd);
  // So does an initialised descriptor, which has no access list either.
  SECURITY_DESCRIPTOR empty;
  ASSERT_TRUE(InitializeSecurityDescriptor(&empty, SECURITY_DESCRIPTOR_REVISION));
  EXPECT_TRUE(Granted(&empty, kPrincipalAnonymous, kReadWrite));
  EXPECT_FALSE(InitializeSecurityDescriptor(&empty, 2));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_REVISION));
  sd = Parse("D:");
  ASSERT_NE(sd, nullptr);
  EXPECT_FALSE(Granted(sd, kPrincipalAdministrators, GENERIC_READ));
  LocalFree(sd);
  sd = Parse("D:(A;;0xC0000000;;;SY)");
  ASSERT_NE(sd, nullptr);
  EXPECT_TRUE(Granted(sd, kPrincipalSystem, kReadWrite));
  EXPECT_FALSE(Granted(sd, kPrincipalSystem, GENERIC_EXECUTE));
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
    EXPECT_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptorA(text, SDDL_REVISION_1, &sd, nullptr)) << text;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << text;
    EXPECT_EQ(sd, reinterpret_cast<PSECURITY_DESCRIPTOR>(1)) << "nothing handed out for " << text;
  }
  PSECURITY_DESCRIPTOR sd = nullptr;
  EXPECT_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptorA(kServiceSddl, 2, &sd, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_REVISION));
  std::string many = "D:";
  for (int i = 0; i <= kMaxAces; ++i) many += "(A;;GR;;;AU)";
  EXPECT_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptorA(many.c_str(), SDDL_REVISION_1, &sd, nullptr));
}

}  // namespace
}  // namespace orv::security
