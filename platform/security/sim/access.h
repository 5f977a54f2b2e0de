// Who may use an object: the access list of a security descriptor as this
// machine stores it, the principals a caller is made of, and the access check.
// A descriptor from ConvertStringSecurityDescriptorToSecurityDescriptorA is one
// block: the SDK's SECURITY_DESCRIPTOR, its Dacl pointing at the ACL header that
// follows, and the ACL's entries after that.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace orv::security {

// Who a caller is, as a set of well-known principals (see principals.h).
enum Principal : std::uint32_t {
  kPrincipalSystem = 1u << 0,          // SY: the local system account (uid 0)
  kPrincipalAdministrators = 1u << 1,  // BA: uid 0 and members of sudo, adm, wheel
  kPrincipalAuthenticated = 1u << 2,   // AU: any local user that is neither guest nor anonymous
  kPrincipalGuests = 1u << 3,          // BG: the "guest" account and members of "guests"
  kPrincipalAnonymous = 1u << 4,       // AN: "nobody" (uid 65534) and callers of unknown identity
};

// The most entries a descriptor of SDDL text holds here.
constexpr int kMaxAces = 32;

// One entry of an access list, after the SDK's ACL header.
struct AccessEntry {
  BYTE deny;                // 1 for D, 0 for A
  BYTE flags;               // OI 0x1, CI 0x2
  DWORD mask;               // generic rights
  std::uint32_t principal;  // one Principal bit
};

// A descriptor's rules, copied out of it (an object keeps its own copy).
struct AccessRules {
  bool hasDacl = false;  // without an access list everyone is admitted
  std::vector<AccessEntry> entries;
};

// The rules of a descriptor; none (everyone admitted) for NULL.
AccessRules RulesOf(PSECURITY_DESCRIPTOR descriptor);

// True when a caller made of the principals is granted every right in desired.
bool AccessGranted(const AccessRules& rules, std::uint32_t principals, DWORD desired);

}  // namespace orv::security
