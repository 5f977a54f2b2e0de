// The language string table: "StringTable\Language.ini" beside the program, one
// section per Windows UI language id, with section "1033" standing in for a
// language whose section lacks the probe key "IDS_USERDEFINE_DOC".
#pragma once
#include <string>

// The program folder: the program file's path cut after its last backslash, in
// its short (8.3) form, ending with a backslash. Empty when it cannot be had.
std::string GetShortProgramFolder();

// The table's file path and the section to read from (the user's UI language in
// decimal, or "1033" when that section has no "IDS_USERDEFINE_DOC").
void ResolveLanguageTable(std::string& file, std::string& section);

// The key's text in the section ("" when absent), at most 2047 characters.
std::string ReadLanguageString(const std::string& section, const std::string& key, const std::string& file);
