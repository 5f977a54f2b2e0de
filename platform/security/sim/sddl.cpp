// SDDL text to security descriptors, descriptors to access rules, and the access check.
#include <windows.h>
#include <sddl.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/security/sim/access.h"

namespace orv::security {
namespace {

constexpr DWORD kAllGeneric = GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE;

// GENERIC_ALL stands for all three generic rights the objects here know.
DWORD Expand(DWORD mask) { return (mask & GENERIC_ALL) ? (mask | kAllGeneric) : mask; }

bool ParseFlags(const std::string& s, std::uint8_t* flags) {
  *flags = 0;
  for (std::size_t i = 0; i < s.size(); i += 2) {
    std::string f = s.substr(i, 2);
    if (f == "OI") *flags |= 0x1;
    else if (f == "CI") *flags |= 0x2;
    else return false;
  }
  return s.size() % 2 == 0;
}

bool ParseRights(const std::string& s, DWORD* mask) {
  *mask = 0;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    char* end = nullptr;
    unsigned long v = std::strtoul(s.c_str() + 2, &end, 16);
    if (*end || v > 0xFFFFFFFFul) return false;
    *mask = static_cast<DWORD>(v);
    return true;
  }
  if (s.empty() || s.size() % 2) return false;
  for (std::size_t i = 0; i < s.size(); i += 2) {
    std::string r = s.substr(i, 2);
    if (r == "GA") *mask |= GENERIC_ALL;
    else if (r == "GR") *mask |= GENERIC_READ;
    else if (r == "GW") *mask |= GENERIC_WRITE;
    else if (r == "GX") *mask |= GENERIC_EXECUTE;
    else return false;
  }
  return true;
}

bool ParsePrincipal(const std::string& s, std::uint32_t* principal) {
  static const struct { const char* alias; std::uint32_t bit; } kAliases[] = {
      {"SY", kPrincipalSystem}, {"BA", kPrincipalAdministrators}, {"AU", kPrincipalAuthenticated},
      {"BG", kPrincipalGuests}, {"AN", kPrincipalAnonymous}};
  for (const auto& a : kAliases) {
    if (s == a.alias) { *principal = a.bit; return true; }
  }
  return false;
}

// One "(type;flags;rights;object;inherit-object;principal)" entry without its parentheses.
bool ParseAce(const std::string& body, AccessEntry* ace) {
  std::string field[6];
  std::size_t start = 0;
  for (int i = 0; i < 6; ++i) {
    std::size_t semi = body.find(';', start);
    if (i < 5 && semi == std::string::npos) return false;
    if (i == 5 && semi != std::string::npos) return false;
    field[i] = body.substr(start, i < 5 ? semi - start : std::string::npos);
    start = semi + 1;
  }
  if (field[0] == "D") ace->deny = 1;
  else if (field[0] == "A") ace->deny = 0;
  else return false;
  if (!field[3].empty() || !field[4].empty()) return false;  // object entries are not used
  return ParseFlags(field[1], &ace->flags) && ParseRights(field[2], &ace->mask) &&
         ParsePrincipal(field[5], &ace->principal);
}

bool Parse(const char* text, AccessRules* rules) {
  std::string s(text);
  if (s.empty()) return true;  // no access list
  if (s.compare(0, 2, "D:") != 0) return false;
  rules->hasDacl = true;
  std::size_t i = 2;
  while (i < s.size()) {
    if (s[i] != '(') return false;
    std::size_t close = s.find(')', i);
    if (close == std::string::npos || rules->entries.size() >= static_cast<std::size_t>(kMaxAces)) return false;
    AccessEntry ace{};
    if (!ParseAce(s.substr(i + 1, close - i - 1), &ace)) return false;
    rules->entries.push_back(ace);
    i = close + 1;
  }
  return true;
}

// The descriptor block: the SDK's header, then the access list's header and entries.
struct DescriptorBlock {
  SECURITY_DESCRIPTOR header;
  ACL dacl;
  AccessEntry entries[kMaxAces];
};

const AccessEntry* EntriesOf(const ACL* acl) {
  return reinterpret_cast<const DescriptorBlock*>(reinterpret_cast<const char*>(acl) -
                                                  offsetof(DescriptorBlock, dacl))
      ->entries;
}

}  // namespace

AccessRules RulesOf(PSECURITY_DESCRIPTOR descriptor) {
  AccessRules rules;
  const auto* sd = static_cast<const SECURITY_DESCRIPTOR*>(descriptor);
  if (!sd || !(sd->Control & SE_DACL_PRESENT)) return rules;
  rules.hasDacl = sd->Dacl != nullptr;  // a NULL access list admits everyone, as on Windows
  if (!sd->Dacl) return rules;
  const AccessEntry* entries = EntriesOf(sd->Dacl);
  rules.entries.assign(entries, entries + sd->Dacl->AceCount);
  return rules;
}

bool AccessGranted(const AccessRules& rules, std::uint32_t principals, DWORD desired) {
  if (!rules.hasDacl) return true;
  desired = Expand(desired) & kAllGeneric;
  for (const AccessEntry& a : rules.entries) {
    if (a.deny && (a.principal & principals) && (Expand(a.mask) & desired)) return false;
  }
  DWORD granted = 0;
  for (const AccessEntry& a : rules.entries) {
    if (!a.deny && (a.principal & principals)) granted |= Expand(a.mask);
  }
  return (granted & desired) == desired;
}

}  // namespace orv::security

extern "C" BOOL WINAPI InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR pSecurityDescriptor, DWORD dwRevision) {
  if (!pSecurityDescriptor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwRevision != SECURITY_DESCRIPTOR_REVISION) {
    SetLastError(ERROR_UNKNOWN_REVISION);
    return FALSE;
  }
  std::memset(pSecurityDescriptor, 0, sizeof(SECURITY_DESCRIPTOR));
  static_cast<SECURITY_DESCRIPTOR*>(pSecurityDescriptor)->Revision = SECURITY_DESCRIPTOR_REVISION;
  return TRUE;
}

extern "C" BOOL WINAPI ConvertStringSecurityDescriptorToSecurityDescriptorA(LPCSTR text, DWORD revision,
                                                                            PSECURITY_DESCRIPTOR* descriptor,
                                                                            PULONG size) {
  using namespace orv::security;
  if (!text || !descriptor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (revision != SDDL_REVISION_1) {
    SetLastError(ERROR_UNKNOWN_REVISION);
    return FALSE;
  }
  AccessRules rules;
  if (!Parse(text, &rules)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto* block = static_cast<DescriptorBlock*>(LocalAlloc(LPTR, sizeof(DescriptorBlock)));
  if (!block) return FALSE;
  block->header.Revision = SECURITY_DESCRIPTOR_REVISION;
  if (rules.hasDacl) {
    block->header.Control = SE_DACL_PRESENT;
    block->header.Dacl = &block->dacl;
    block->dacl.AclRevision = ACL_REVISION;
    block->dacl.AceCount = static_cast<WORD>(rules.entries.size());
    block->dacl.AclSize = static_cast<WORD>(sizeof(ACL) + rules.entries.size() * sizeof(AccessEntry));
    for (std::size_t i = 0; i < rules.entries.size(); ++i) block->entries[i] = rules.entries[i];
  }
  *descriptor = block;
  if (size) *size = sizeof(DescriptorBlock);
  return TRUE;
}
