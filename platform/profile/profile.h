// The private profile (initialisation file) calls with their Windows semantics,
// on Windows paths (a bare file name is in "C:\Windows", as on Windows).
#pragma once
#include "platform/base/types.h"

namespace orv::win {

// Copies the value of key in section (or the default, NULL meaning "", with its
// trailing blanks removed) into buffer and returns its length. Values are trimmed
// and lose one pair of surrounding quotes. A text that does not fit is cut to
// size-1 bytes, and the answer is size-1. Section NULL lists the section names,
// key NULL the section's key names: each name NUL-terminated, a second NUL at the
// end; a list that does not fit is cut, ends in two NULs and answers size-2.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText, char* buffer,
                               DWORD size, const char* fileName);

// Sets key=value in section, making the section and the file when missing (the
// folder must exist). value NULL removes the key, key NULL the whole section;
// everything else in the file stays as it was. All three NULL only flushes (TRUE).
// FALSE with ERROR_INVALID_PARAMETER for names or values that would break the
// file's lines (line breaks, '=' in a key, ']' in a section name).
BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* fileName);

}  // namespace orv::win
