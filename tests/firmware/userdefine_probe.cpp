// A program that reports what ReadUserDefineIni finds beside it; the tests copy it
// into folders of their own, with and without a settings file.
#include <cstdio>
#include <string>

#include "tray/firmware/PlatformInfo.h"

int main() {
  std::string path = "unchanged";
  bool present = ReadUserDefineIni(path);
  std::printf("%s [%s]\n", present ? "present" : "absent", path.c_str());
  return 0;
}
