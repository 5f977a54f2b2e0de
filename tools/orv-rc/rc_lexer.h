// Reading a resource script: comments, the preprocessor lines the scripts use
// (#include, #define, #undef, #ifdef, #ifndef, #else, #endif, #pragma) and the
// tokens of what is left. Headers named with quotes are read for their
// #defines; headers named with angle brackets are the SDK's, whose constants
// the compiler knows already (rc_symbols.h).
#pragma once
#include <map>
#include <string>
#include <vector>

namespace orv::rc {

struct Token {
  enum Kind { Word, Number, String, Punct, End } kind = End;
  std::string text;       // Word, Punct: as written; String: the unquoted value
  long long value = 0;    // Number
  std::string where;      // "file:line", for messages
};

struct Source {
  std::vector<Token> tokens;                        // ends with one End token
  std::map<std::string, std::string> defines;       // name -> replacement text
  std::vector<std::string> includedFiles;           // for build dependencies
};

// Reads the script and the quoted headers it includes (looked for beside the
// including file, then in the include folders). False with a message on error.
bool ReadSource(const std::string& path, const std::vector<std::string>& includeDirs, Source* out,
                std::string* error);

// Appends the tokens of one line of script text (no preprocessor lines, no
// comments); false with a message on a malformed token.
bool TokeniseLine(const std::string& line, const std::string& where, std::vector<Token>* out, std::string* error);

// Finds a file named in the script: beside the script, then in the include folders.
std::string FindFile(const std::string& name, const std::string& scriptDir, const std::vector<std::string>& includeDirs);

}  // namespace orv::rc
