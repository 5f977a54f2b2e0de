// tray-program-file ICON OUT: writes a program file whose first icon is the
// icon resource ICON of the tray program's resources (128 its own, 166 and 167
// the HDD's), for tests and screenshots that need a program with an icon.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tests/tray/pe_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tray-program-file ICON-ID OUT\n");
    return 2;
  }
  const std::string bytes = traytest::ProgramFileWithIcon(std::atoi(argv[1]));
  if (bytes.empty()) {
    std::fprintf(stderr, "tray-program-file: no icon %s among the resources\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << bytes;
  return out.good() ? 0 : 1;
}
