// One registry hive in memory and its readable text form on disk:
//
//   ORV-REGISTRY 1
//   [Software\Orv\Calvex\Log File]
//   "Log File Flag"=sz:"TRUE"
//   "Count"=dword:0000002a
//   "Blob"=hex(3):01,02,ff
//   END
//
// Names are kept as first written and looked up without regard to case. In quoted
// texts '\' '"' and control bytes are written as escapes (\\ \" \n \r \t \xHH);
// in key paths %, ] and control bytes as %XX. "@" is the key's default value.
// A file that does not parse, or lacks its END line (cut short), is damaged as a whole.
#pragma once
#include <map>
#include <string>
#include <vector>

#include <windows.h>

namespace orv::reg {

struct Value {
  std::string name;
  DWORD type = 0;
  std::string data;  // REG_SZ / REG_EXPAND_SZ: the text without its terminator; else raw bytes
};

struct Key {
  std::string path;  // "" for the hive's root, else "A\B\C" as first written
  std::vector<Value> values;
};

class Hive {
 public:
  // The key of that path (any case), or null.
  Key* Find(const std::string& path);
  // The key, made with its missing parents when absent; *created tells whether it was.
  Key* Make(const std::string& path, bool* created);
  // Removes a key that has no subkeys; false otherwise.
  bool Remove(const std::string& path);
  // The direct subkeys' last components, in order of their folded names.
  std::vector<std::string> Children(const std::string& path) const;

  static Value* FindValue(Key& key, const std::string& name);

  std::string Serialize() const;
  // False with a description ("line 3: ...") when the text is damaged.
  static bool Parse(const std::string& text, Hive* hive, std::string* problem);

 private:
  std::map<std::string, Key> keys_;  // by folded path
};

std::string FoldName(const std::string& name);

}  // namespace orv::reg
