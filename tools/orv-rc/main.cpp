// orv-rc: compiles a resource script into the table the simulated build links
// into a program. orv-rc [-I folder]... script.rc out.cpp [out.d]
// The optional out.d lists what the table depends on, for the build.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/orv-rc/rc_compiler.h"
#include "tools/orv-rc/rc_table.h"

int main(int argc, char** argv) {
  std::vector<std::string> includes, files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-I" && i + 1 < argc) includes.push_back(argv[++i]);
    else if (arg.rfind("-I", 0) == 0 && arg.size() > 2) includes.push_back(arg.substr(2));
    else files.push_back(arg);
  }
  if (files.size() < 2 || files.size() > 3) {
    std::fprintf(stderr, "usage: orv-rc [-I folder]... script.rc out.cpp [out.d]\n");
    return 2;
  }
  orv::rc::Compiled compiled;
  std::string error;
  if (!orv::rc::CompileScript(files[0], includes, &compiled, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::ofstream out(files[1], std::ios::binary);
  out << orv::rc::ResourceTableSource(files[0], compiled.resources);
  if (!out.flush()) {
    std::fprintf(stderr, "orv-rc: %s cannot be written\n", files[1].c_str());
    return 1;
  }
  if (files.size() == 3) {
    std::ofstream deps(files[2]);
    deps << files[1] << ":";
    for (const std::string& d : compiled.dependencies) deps << " \\\n  " << d;
    deps << "\n";
  }
  return 0;
}
