// Security descriptors from SDDL text, in the forms the system uses:
//   "D:" then entries "(D|A;flags;rights;;;principal)", flags from OI and CI,
//   rights from GA GR GW GX (or a 0x hexadecimal mask), principals BG AN AU BA SY.
// A descriptor without a "D:" part has no access list and admits everyone; an
// empty "D:" admits no one. Deny entries are weighed before allow entries.
#pragma once
#include <cstdint>

#include "platform/pipe/errors.h"

namespace orv::pipe {

constexpr DWORD SDDL_REVISION_1 = 1;
constexpr DWORD SECURITY_DESCRIPTOR_REVISION = 1;

// Who a caller is, as a set of well-known principals (see PeerPrincipals).
enum Principal : std::uint32_t {
  kPrincipalSystem = 1u << 0,          // SY: the local system account (uid 0)
  kPrincipalAdministrators = 1u << 1,  // BA: uid 0 and members of sudo, adm, wheel
  kPrincipalAuthenticated = 1u << 2,   // AU: any local user that is neither guest nor anonymous
  kPrincipalGuests = 1u << 3,          // BG: the "guest" account and members of "guests"
  kPrincipalAnonymous = 1u << 4,       // AN: "nobody" (uid 65534) and callers of unknown identity
};

constexpr int kMaxAces = 32;

struct ACE {
  std::uint8_t deny;        // 1 for D, 0 for A
  std::uint8_t flags;       // OI 0x1, CI 0x2
  DWORD mask;               // generic rights
  std::uint32_t principal;  // one Principal bit
};

struct SECURITY_DESCRIPTOR {
  std::uint8_t revision;
  std::uint8_t hasDacl;
  std::uint16_t aceCount;
  ACE aces[kMaxAces];
};
using PSECURITY_DESCRIPTOR = void*;

// An empty descriptor (no access list) in caller memory.
BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision);

// Parses SDDL text into a descriptor allocated for the caller (release with
// LocalFree). ERROR_INVALID_PARAMETER for text outside the supported forms,
// ERROR_UNKNOWN_REVISION for another revision.
BOOL ConvertStringSecurityDescriptorToSecurityDescriptor(const char* text, DWORD revision,
                                                         PSECURITY_DESCRIPTOR* descriptor,
                                                         unsigned long* size);

// True when a caller made of the principals is granted every right in desired.
bool AccessGranted(const SECURITY_DESCRIPTOR* descriptor, std::uint32_t principals, DWORD desired);


}  // namespace orv::pipe
