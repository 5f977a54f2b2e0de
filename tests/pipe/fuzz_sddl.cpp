// Fuzz target for the SDDL parser: any text. A descriptor it makes holds one
// access entry per "(...)" of the text, and the access check over it never
// grants what one of the caller's deny entries takes away.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <windows.h>
#include <sddl.h>

#include "platform/security/sim/access.h"

namespace {

using namespace orv::security;

constexpr std::uint32_t kPrincipals[] = {kPrincipalSystem, kPrincipalAdministrators, kPrincipalAuthenticated,
                                          kPrincipalGuests, kPrincipalAnonymous};
constexpr DWORD kRights[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_EXECUTE, GENERIC_READ | GENERIC_WRITE,
                             GENERIC_ALL};

DWORD Expanded(DWORD mask) {
  return (mask & GENERIC_ALL) ? (mask | GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE) : mask;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // the text ends at its first NUL
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ULONG length = 0;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(text.c_str(), SDDL_REVISION_1, &descriptor, &length)) {
    if (descriptor) std::abort();  // nothing is handed out on failure
    return 0;
  }
  AccessRules rules = RulesOf(descriptor);
  std::size_t opened = 0;
  for (char c : text) opened += c == '(';
  if (rules.entries.size() != opened || rules.entries.size() > static_cast<std::size_t>(kMaxAces)) std::abort();
  for (std::uint32_t who : kPrincipals) {
    for (DWORD rights : kRights) {
      if (!AccessGranted(rules, who, rights)) continue;
      for (const AccessEntry& e : rules.entries) {
        if (e.deny && (e.principal & who) && (Expanded(e.mask) & Expanded(rights))) std::abort();
      }
    }
  }
  LocalFree(descriptor);
  return 0;
}
