// orv-progfile: writes a program file with the icon of an icon file, for the
// simulated notebook's C: drive (the tour's program for the user-defined key).
//   orv-progfile ICON.ico OUT.exe
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/orv-progfile/pe_image.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: orv-progfile ICON.ico OUT.exe\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "orv-progfile: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string ico((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string group;
  std::vector<orv::progfile::IconImage> icons;
  if (!orv::progfile::IconFileAsGroup(ico, &group, &icons)) {
    std::fprintf(stderr, "orv-progfile: %s is not an icon file\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << orv::progfile::ProgramImage(1, group, icons);
  if (!out.flush()) {
    std::fprintf(stderr, "orv-progfile: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
