// Registry handles and the calls on them. Every call reads the hive's file afresh
// (the files are small, and another process may have changed them); every change
// is a locked read-modify-write of the whole file.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/fs/sim/atomic.h"
#include "platform/home/sim/home.h"
#include "platform/registry/sim/hive.h"

namespace {

using orv::reg::Hive;
using orv::reg::Key;
using orv::reg::Value;

constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

enum class Root { CurrentUser, LocalMachine };

struct OpenKey {
  Root root;
  std::string path;
  REGSAM access;
};

struct Handles {
  std::mutex mutex;
  std::uintptr_t next = 0x1000;
  std::map<std::uintptr_t, OpenKey> open;
};

Handles& TheHandles() {
  static Handles* handles = new Handles;
  return *handles;
}

std::string HivePath(Root root) {
  std::string folder = orv::home::Path("registry");
  orv::home::MakeDirs(folder);
  return folder + (root == Root::CurrentUser ? "/HKEY_CURRENT_USER.reg" : "/HKEY_LOCAL_MACHINE.reg");
}

// Says once per process and problem that a hive file is damaged.
void Complain(const std::string& message) {
  static std::mutex mutex;
  static std::set<std::string> said;
  std::lock_guard<std::mutex> lock(mutex);
  if (said.insert(message).second) std::fprintf(stderr, "registry: %s\n", message.c_str());
}

// Loads a hive; a damaged one loads empty. *damaged says which it was.
void Load(Root root, Hive* hive, bool* damaged) {
  *damaged = false;
  std::string path = HivePath(root), text, error, problem;
  bool missing = false;
  if (!orv::fs::ReadWholeFile(path, &text, &error, &missing)) {
    Complain(error + "; its values read as empty");
    *hive = Hive();
    return;
  }
  if (missing) {
    *hive = Hive();
    return;
  }
  if (!Hive::Parse(text, hive, &problem)) {
    Complain(path + " is damaged (" + problem + "); its values read as empty");
    *damaged = true;
    *hive = Hive();
  }
}

// Keeps a damaged hive file aside before it is replaced, so nothing in it is lost.
void SetAside(Root root) {
  std::string path = HivePath(root);
  std::string aside = path + ".damaged";
  for (int n = 2; std::FILE* f = std::fopen(aside.c_str(), "r"); ++n) {
    std::fclose(f);
    aside = path + ".damaged." + std::to_string(n);
  }
  if (std::rename(path.c_str(), aside.c_str()) == 0) {
    std::fprintf(stderr, "registry: %s was damaged; kept as %s, starting it afresh\n", path.c_str(), aside.c_str());
  }
}

// A locked read-modify-write: change answers the error and whether it changed anything.
LONG Change(Root root, const std::function<LONG(Hive&, bool*)>& change) {
  std::string path = HivePath(root);
  orv::fs::FileLock lock(path);
  if (!lock.held()) return ERROR_CANTWRITE;
  Hive hive;
  bool damaged = false;
  Load(root, &hive, &damaged);
  bool changed = false;
  LONG result = change(hive, &changed);
  if (result != ERROR_SUCCESS || !changed) return result;
  if (damaged) SetAside(root);
  std::string error;
  if (!orv::fs::WriteFileAtomic(path, hive.Serialize(), &error)) {
    std::fprintf(stderr, "registry: %s\n", error.c_str());
    return ERROR_CANTWRITE;
  }
  return ERROR_SUCCESS;
}

bool Lookup(HKEY key, OpenKey* out) {
  auto value = reinterpret_cast<std::uintptr_t>(key);
  if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) {
    *out = OpenKey{key == HKEY_CURRENT_USER ? Root::CurrentUser : Root::LocalMachine, "", KEY_ALL_ACCESS};
    return true;
  }
  Handles& h = TheHandles();
  std::lock_guard<std::mutex> lock(h.mutex);
  auto it = h.open.find(value);
  if (it == h.open.end()) return false;
  *out = it->second;
  return true;
}

HKEY NewHandle(const OpenKey& key) {
  Handles& h = TheHandles();
  std::lock_guard<std::mutex> lock(h.mutex);
  std::uintptr_t value = h.next;
  h.next += 4;
  h.open.emplace(value, key);
  return reinterpret_cast<HKEY>(value);
}

// Joins a parent path and a relative subkey path, normalising separators; false
// when a component is too long.
bool JoinPath(const std::string& parent, const char* subKey, std::string* out) {
  std::string joined = parent;
  std::string part;
  std::string rest = subKey ? subKey : "";
  rest += '\\';
  for (char c : rest) {
    if (c != '\\') {
      part += c;
      continue;
    }
    if (part.empty()) continue;
    if (part.size() > kMaxKeyNameLength) return false;
    joined += (joined.empty() ? "" : "\\") + part;
    part.clear();
  }
  *out = joined;
  return true;
}

// Writes a name into a caller's character buffer in RegEnum* fashion.
LONG PutName(const std::string& name, char* out, DWORD* size) {
  if (!out || !size) return ERROR_INVALID_PARAMETER;
  if (*size <= name.size()) return ERROR_MORE_DATA;
  std::memcpy(out, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// The bytes a value hands out: text values with their terminator.
std::string Payload(const Value& v) {
  if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) return v.data + '\0';
  return v.data;
}

LONG PutData(const Value& v, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (type) *type = v.type;
  std::string bytes = Payload(v);
  if (!dataSize) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  DWORD have = *dataSize;
  *dataSize = static_cast<DWORD>(bytes.size());
  if (!data) return ERROR_SUCCESS;
  if (have < bytes.size()) return ERROR_MORE_DATA;
  std::memcpy(data, bytes.data(), bytes.size());
  return ERROR_SUCCESS;
}

// The key behind a handle opened with the right, read afresh from its hive.
// missingRoot is the answer for a hive that has no root key yet.
LONG ReadKey(HKEY handle, REGSAM right, LONG missingRoot, Hive* hive, Key** key) {
  OpenKey open;
  if (!Lookup(handle, &open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & right)) return ERROR_ACCESS_DENIED;
  bool damaged = false;
  Load(open.root, hive, &damaged);
  *key = hive->Find(open.path);
  if (!*key) return open.path.empty() ? missingRoot : ERROR_KEY_DELETED;
  return ERROR_SUCCESS;
}

}  // namespace

extern "C" LONG WINAPI RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM access, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  OpenKey parent;
  if (!Lookup(key, &parent)) return ERROR_INVALID_HANDLE;
  std::string path;
  if (!JoinPath(parent.path, subKey, &path)) return ERROR_INVALID_PARAMETER;
  Hive hive;
  bool damaged = false;
  Load(parent.root, &hive, &damaged);
  Key* found = hive.Find(path);
  if (!found && !path.empty()) return ERROR_FILE_NOT_FOUND;
  *result = NewHandle(OpenKey{parent.root, found ? found->path : path, access});
  return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, LPSECURITY_ATTRIBUTES, PHKEY result,
                     DWORD* disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  OpenKey parent;
  if (!Lookup(key, &parent)) return ERROR_INVALID_HANDLE;
  std::string path;
  if (!JoinPath(parent.path, subKey, &path)) return ERROR_INVALID_PARAMETER;
  std::string truePath = path;
  bool created = false;
  LONG status = Change(parent.root, [&](Hive& hive, bool* changed) {
    if (!path.empty() && !(parent.access & KEY_CREATE_SUB_KEY) && !hive.Find(path)) return ERROR_ACCESS_DENIED;
    truePath = hive.Make(path, &created)->path;
    *changed = created;
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return status;
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewHandle(OpenKey{parent.root, truePath, access});
  return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCloseKey(HKEY key) {
  if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
  Handles& h = TheHandles();
  std::lock_guard<std::mutex> lock(h.mutex);
  return h.open.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

extern "C" LONG WINAPI RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (reserved) return ERROR_INVALID_PARAMETER;
  Hive hive;
  Key* k = nullptr;
  if (LONG s = ReadKey(key, KEY_QUERY_VALUE, ERROR_FILE_NOT_FOUND, &hive, &k)) return s;
  Value* v = Hive::FindValue(*k, name ? name : "");
  if (!v) return ERROR_FILE_NOT_FOUND;
  return PutData(*v, type, data, dataSize);
}

extern "C" LONG WINAPI RegSetValueExA(HKEY key, const char* name, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
  OpenKey open;
  if (!Lookup(key, &open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  std::string valueName = name ? name : "";
  if (valueName.size() > kMaxValueNameLength || (dataSize && !data)) return ERROR_INVALID_PARAMETER;
  std::string bytes(reinterpret_cast<const char*>(data ? data : reinterpret_cast<const BYTE*>("")), dataSize);
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    bytes = bytes.substr(0, bytes.find('\0'));
  } else if (type == REG_DWORD && bytes.size() != 4) {
    return ERROR_INVALID_PARAMETER;
  }
  return Change(open.root, [&](Hive& hive, bool* changed) {
    Key* k = open.path.empty() ? hive.Make("", nullptr) : hive.Find(open.path);
    if (!k) return ERROR_KEY_DELETED;
    Value* v = Hive::FindValue(*k, valueName);
    if (!v) {
      k->values.push_back(Value{valueName, type, bytes});
    } else {
      v->type = type;
      v->data = bytes;
    }
    *changed = true;
    return ERROR_SUCCESS;
  });
}

extern "C" LONG WINAPI RegDeleteValueA(HKEY key, const char* name) {
  OpenKey open;
  if (!Lookup(key, &open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  std::string folded = orv::reg::FoldName(name ? name : "");
  return Change(open.root, [&](Hive& hive, bool* changed) {
    Key* k = hive.Find(open.path);
    if (!k) return open.path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    for (auto it = k->values.begin(); it != k->values.end(); ++it) {
      if (orv::reg::FoldName(it->name) == folded) {
        k->values.erase(it);
        *changed = true;
        return ERROR_SUCCESS;
      }
    }
    return ERROR_FILE_NOT_FOUND;
  });
}

extern "C" LONG WINAPI RegDeleteKeyA(HKEY key, const char* subKey) {
  OpenKey open;
  if (!Lookup(key, &open)) return ERROR_INVALID_HANDLE;
  std::string path;
  if (!subKey || !*subKey || !JoinPath(open.path, subKey, &path)) return ERROR_INVALID_PARAMETER;
  return Change(open.root, [&](Hive& hive, bool* changed) {
    if (!hive.Find(path)) return ERROR_FILE_NOT_FOUND;
    if (!hive.Remove(path)) return ERROR_ACCESS_DENIED;
    *changed = true;
    return ERROR_SUCCESS;
  });
}

extern "C" LONG WINAPI RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, LPSTR, LPDWORD, PFILETIME) {
  if (reserved) return ERROR_INVALID_PARAMETER;
  Hive hive;
  Key* k = nullptr;
  if (LONG s = ReadKey(key, KEY_ENUMERATE_SUB_KEYS, ERROR_SUCCESS, &hive, &k)) return s;
  OpenKey open;
  Lookup(key, &open);
  auto children = hive.Children(open.path);
  if (index >= children.size()) return ERROR_NO_MORE_ITEMS;
  return PutName(children[index], name, nameSize);
}

extern "C" LONG WINAPI RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, DWORD* type, BYTE* data,
                   DWORD* dataSize) {
  if (reserved) return ERROR_INVALID_PARAMETER;
  Hive hive;
  Key* k = nullptr;
  if (LONG s = ReadKey(key, KEY_QUERY_VALUE, ERROR_NO_MORE_ITEMS, &hive, &k)) return s;
  if (index >= k->values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& v = k->values[index];
  LONG status = PutName(v.name, name, nameSize);
  if (status != ERROR_SUCCESS) return status;
  return PutData(v, type, data, dataSize);
}

