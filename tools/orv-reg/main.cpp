// orv-reg: the registry from the shell.
//   orv-reg get  <key> [<name>]           prints the value (no name: the default value)
//   orv-reg set  <key> <name> <text>      stores a REG_SZ value (making the key)
//   orv-reg set  <key> <name> --dword <n> stores a REG_DWORD value
//   orv-reg delete <key> <name>           removes a value
//   orv-reg list [<key>]                  prints the key's values and subkeys
// <key> starts with HKCU or HKLM (or HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE).
// Exit status: 0 done, 1 not found or failed, 2 wrong usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: orv-reg get <key> [<name>]\n"
               "       orv-reg set <key> <name> <text> | --dword <number>\n"
               "       orv-reg delete <key> <name>\n"
               "       orv-reg list [<key>]\n"
               "<key>: HKCU\\... or HKLM\\... (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE)\n");
  return 2;
}

bool SplitKey(const std::string& text, HKEY* root, std::string* sub) {
  auto cut = text.find('\\');
  std::string head = text.substr(0, cut);
  for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  *sub = cut == std::string::npos ? "" : text.substr(cut + 1);
  if (head == "HKCU" || head == "HKEY_CURRENT_USER") *root = HKEY_CURRENT_USER;
  else if (head == "HKLM" || head == "HKEY_LOCAL_MACHINE") *root = HKEY_LOCAL_MACHINE;
  else return false;
  return true;
}

int Fail(const char* what, const std::string& key, LONG status) {
  const char* reason = status == ERROR_FILE_NOT_FOUND ? "not found"
                       : status == ERROR_ACCESS_DENIED ? "access denied"
                       : status == ERROR_CANTWRITE    ? "cannot write the registry"
                                                      : "failed";
  std::fprintf(stderr, "orv-reg: %s %s: %s (error %ld)\n", what, key.c_str(), reason, static_cast<long>(status));
  return 1;
}

std::string Render(DWORD type, const std::vector<BYTE>& data) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    return std::string(reinterpret_cast<const char*>(data.data()), strnlen(reinterpret_cast<const char*>(data.data()), data.size()));
  }
  if (type == REG_DWORD && data.size() == 4) {
    DWORD v;
    std::memcpy(&v, data.data(), 4);
    return std::to_string(v);
  }
  std::string out;
  char b[4];
  for (BYTE c : data) {
    std::snprintf(b, sizeof b, "%02x", c);
    out += out.empty() ? b : std::string(",") + b;
  }
  return out;
}

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_BINARY: return "REG_BINARY";
    default: return "REG_OTHER";
  }
}

int Get(HKEY root, const std::string& sub, const std::string& keyText, const char* name) {
  HKEY key;
  LONG s = RegOpenKeyExA(root, sub.c_str(), 0, KEY_QUERY_VALUE, &key);
  if (s != ERROR_SUCCESS) return Fail("open", keyText, s);
  DWORD type = 0, size = 0;
  s = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
  std::vector<BYTE> data(size);
  if (s == ERROR_SUCCESS) s = RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
  RegCloseKey(key);
  if (s != ERROR_SUCCESS) return Fail("read", keyText + "\\" + (name ? name : "@"), s);
  data.resize(size);
  std::printf("%s\n", Render(type, data).c_str());
  return 0;
}

int Set(HKEY root, const std::string& sub, const std::string& keyText, const char* name, DWORD type,
        const std::vector<BYTE>& data) {
  HKEY key;
  LONG s = RegCreateKeyExA(root, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (s != ERROR_SUCCESS) return Fail("create", keyText, s);
  s = RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return s == ERROR_SUCCESS ? 0 : Fail("write", keyText, s);
}

int Delete(HKEY root, const std::string& sub, const std::string& keyText, const char* name) {
  HKEY key;
  LONG s = RegOpenKeyExA(root, sub.c_str(), 0, KEY_SET_VALUE, &key);
  if (s != ERROR_SUCCESS) return Fail("open", keyText, s);
  s = RegDeleteValueA(key, name);
  RegCloseKey(key);
  return s == ERROR_SUCCESS ? 0 : Fail("delete", keyText + "\\" + name, s);
}

int List(HKEY root, const std::string& sub, const std::string& keyText) {
  HKEY key;
  LONG s = RegOpenKeyExA(root, sub.c_str(), 0, KEY_READ, &key);
  if (s != ERROR_SUCCESS) return Fail("open", keyText, s);
  char name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name, type = 0, size = 0;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size);
    nameSize = sizeof name;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    std::printf("%s\t%s\t%s\n", *name ? name : "@", TypeName(type), Render(type, data).c_str());
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::printf("%s\\\n", name);
  }
  RegCloseKey(key);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  std::string keyText = argc > 2 ? argv[2] : "HKCU";
  HKEY root;
  std::string sub;
  if (!SplitKey(keyText, &root, &sub)) return Usage();
  if (command == "get" && (argc == 3 || argc == 4)) return Get(root, sub, keyText, argc == 4 ? argv[3] : nullptr);
  if (command == "delete" && argc == 4) return Delete(root, sub, keyText, argv[3]);
  if (command == "list" && argc <= 3) return List(root, sub, keyText);
  if (command == "set" && argc == 5) {
    std::vector<BYTE> data(argv[4], argv[4] + std::strlen(argv[4]) + 1);
    return Set(root, sub, keyText, argv[3], REG_SZ, data);
  }
  if (command == "set" && argc == 6 && std::strcmp(argv[4], "--dword") == 0) {
    char* end = nullptr;
    unsigned long long n = std::strtoull(argv[5], &end, 0);
    if (!*argv[5] || *end || n > 0xFFFFFFFFULL) {
      std::fprintf(stderr, "orv-reg: not a 32-bit number: %s\n", argv[5]);
      return 2;
    }
    DWORD v = static_cast<DWORD>(n);
    std::vector<BYTE> data(reinterpret_cast<BYTE*>(&v), reinterpret_cast<BYTE*>(&v) + 4);
    return Set(root, sub, keyText, argv[3], REG_DWORD, data);
  }
  return Usage();
}
