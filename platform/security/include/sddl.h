// The simulated build's <sddl.h>: security descriptors from SDDL text, in the forms
// the system uses: "D:" then entries "(D|A;flags;rights;;;principal)", flags from
// OI and CI, rights from GA GR GW GX (or a 0x hexadecimal mask), principals BG AN
// AU BA SY. A text without a "D:" part gives a descriptor without an access list,
// which admits everyone; an empty "D:" admits no one. Deny entries are weighed
// before allow entries.
#pragma once
#include "windef.h"

#define SDDL_REVISION_1 1
#define SDDL_REVISION SDDL_REVISION_1

extern "C" {

// The descriptor is one block of memory for the caller (release it with
// LocalFree). ERROR_INVALID_PARAMETER for text outside the supported forms,
// ERROR_UNKNOWN_REVISION for another revision.
BOOL WINAPI ConvertStringSecurityDescriptorToSecurityDescriptorA(LPCSTR StringSecurityDescriptor,
                                                                 DWORD StringSDRevision,
                                                                 PSECURITY_DESCRIPTOR* SecurityDescriptor,
                                                                 PULONG SecurityDescriptorSize);

}  // extern "C"
