// SDDL parsing and the access check.
#include "platform/pipe/sddl.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace orv::pipe {
namespace {

constexpr DWORD kAllGeneric = GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE;

// GENERIC_ALL stands for all three rights the pipe knows.
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
bool ParseAce(const std::string& body, ACE* ace) {
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

bool Parse(const char* text, SECURITY_DESCRIPTOR* sd) {
  std::string s(text);
  if (s.empty()) return true;  // no access list
  if (s.compare(0, 2, "D:") != 0) return false;
  sd->hasDacl = 1;
  std::size_t i = 2;
  while (i < s.size()) {
    if (s[i] != '(') return false;
    std::size_t close = s.find(')', i);
    if (close == std::string::npos || sd->aceCount >= kMaxAces) return false;
    if (!ParseAce(s.substr(i + 1, close - i - 1), &sd->aces[sd->aceCount])) return false;
    ++sd->aceCount;
    i = close + 1;
  }
  return true;
}

}  // namespace

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) {
  if (!descriptor) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
  if (revision != SECURITY_DESCRIPTOR_REVISION) { SetLastError(ERROR_UNKNOWN_REVISION); return FALSE; }
  std::memset(descriptor, 0, sizeof(SECURITY_DESCRIPTOR));
  static_cast<SECURITY_DESCRIPTOR*>(descriptor)->revision = 1;
  return TRUE;
}

BOOL ConvertStringSecurityDescriptorToSecurityDescriptor(const char* text, DWORD revision,
                                                         PSECURITY_DESCRIPTOR* descriptor,
                                                         unsigned long* size) {
  if (!text || !descriptor) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
  if (revision != SDDL_REVISION_1) { SetLastError(ERROR_UNKNOWN_REVISION); return FALSE; }
  auto* sd = static_cast<SECURITY_DESCRIPTOR*>(LocalAlloc(LPTR, sizeof(SECURITY_DESCRIPTOR)));
  if (!sd) return FALSE;
  sd->revision = 1;
  if (!Parse(text, sd)) {
    LocalFree(sd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *descriptor = sd;
  if (size) *size = sizeof(SECURITY_DESCRIPTOR);
  return TRUE;
}

bool AccessGranted(const SECURITY_DESCRIPTOR* sd, std::uint32_t principals, DWORD desired) {
  if (!sd || !sd->hasDacl) return true;
  desired = Expand(desired) & kAllGeneric;
  for (int i = 0; i < sd->aceCount; ++i) {
    const ACE& a = sd->aces[i];
    if (a.deny && (a.principal & principals) && (Expand(a.mask) & desired)) return false;
  }
  DWORD granted = 0;
  for (int i = 0; i < sd->aceCount; ++i) {
    const ACE& a = sd->aces[i];
    if (!a.deny && (a.principal & principals)) granted |= Expand(a.mask);
  }
  return (granted & desired) == desired;
}

}  // namespace orv::pipe
