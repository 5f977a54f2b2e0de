// What kind of machine and installation the tray runs on: the firmware's ASL
// version, whether the BIOS carries the maker's mark, and the installation's preset
// program for the user-define key (UserDefine.ini beside the program).
#pragma once
#include <string>

// The reply text of "root\WMI:Q:Orv_AP:AP:1", or "" when the service did not answer.
std::string GetAslVersion();

// True when characters 7 and 8 of the BIOS version text are "QT" (judged on its
// first eight characters, so a seven-character text by its characters 6 and 7).
bool IsMakerBios();
// The rule IsMakerBios applies to the version text.
bool HasMakerMark(const std::string& version);

// True when UserDefine.ini exists beside the program; path then receives key QZL
// of section [QZL] (possibly empty). False leaves path unchanged.
bool ReadUserDefineIni(std::string& path);
