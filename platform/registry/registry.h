// The registry calls with Win32's semantics and error numbers, for the two hives
// the system uses, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE. Each hive is one
// text file under the state folder ("registry/HKEY_CURRENT_USER.reg"), replaced
// atomically on every change under a lock file, so a crash leaves the old or the
// new contents and writers in several processes never lose each other's values.
// A damaged file reads as empty, with a message on standard error; the next change
// keeps it aside as "<file>.damaged" before it starts the hive afresh.
//
// String values are stored as text: whatever REG_SZ data is passed, the value
// ends at its first NUL and always reads back terminated (Win32 stores the bytes
// as given, so a value written without its terminator reads back unterminated).
#pragma once
#include <cstdint>

#include "platform/base/error.h"
#include "platform/base/types.h"

namespace orv::win {

struct HKEY__;
using HKEY = HKEY__*;
using REGSAM = DWORD;

inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;


// ERROR_FILE_NOT_FOUND when the key does not exist. subKey NULL or "" opens the key itself.
LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result);
// Opens the key, making it and its missing parents first.
LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, const char* keyClass, DWORD options,
                     REGSAM access, void* security, HKEY* result, DWORD* disposition);
LONG RegCloseKey(HKEY key);

// With data NULL: *dataSize gets the size. Too small a buffer: ERROR_MORE_DATA and
// *dataSize the size needed (the buffer's contents are then not a value). Missing
// value: ERROR_FILE_NOT_FOUND. name NULL or "" is the default value.
LONG RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LONG RegDeleteValueA(HKEY key, const char* name);
// Removes a key without subkeys (ERROR_ACCESS_DENIED when it has some).
LONG RegDeleteKeyA(HKEY key, const char* subKey);

// The index-th subkey's name (ERROR_NO_MORE_ITEMS past the end, ERROR_MORE_DATA
// when *nameSize, in characters with the terminator, is too small).
LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, char* keyClass,
                   DWORD* classSize, void* lastWriteTime);
// The index-th value: name as for RegEnumKeyEx; type and data as for RegQueryValueEx.
LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, DWORD* type, BYTE* data,
                   DWORD* dataSize);

}  // namespace orv::win
