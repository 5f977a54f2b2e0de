// orv-eco-schemes FOLDER: writes the five ECO profiles' scheme files
// (Gaming.eps, Movie.eps, Presentation.eps, Office.eps, TurboBattery.eps) into
// FOLDER, in the simulated system's scheme file format (docs/power-scheme-file.md).
#include <cstdio>
#include <string>

#include "platform/fs/sim/atomic.h"
#include "platform/home/sim/home.h"
#include "platform/power/sim/scheme_file.h"

namespace {

struct Profile {
  const char* file;
  const char* name;
  const char* description;
  orv::power::SchemeSettings settings;
};

orv::power::SchemeSettings Settings(int displayOff, int sleep, int acCpu, int dcCpu, int acLight, int dcLight) {
  orv::power::SchemeSettings s;
  s.acDisplayOff = displayOff * 2, s.dcDisplayOff = displayOff;
  s.acSleep = sleep * 2, s.dcSleep = sleep;
  s.acProcessorMax = acCpu, s.dcProcessorMax = dcCpu;
  s.acBrightness = acLight, s.dcBrightness = dcLight;
  return s;
}

const Profile kProfiles[] = {
    {"Gaming.eps", "ECO Gaming", "Full speed and a bright panel; the display stays on.", Settings(0, 0, 100, 100, 100, 100)},
    {"Movie.eps", "ECO Movie", "A bright panel that never dims while a film plays.", Settings(0, 60, 100, 80, 100, 90)},
    {"Presentation.eps", "ECO Presentation", "The display stays on and the notebook awake.", Settings(0, 0, 100, 70, 100, 80)},
    {"Office.eps", "ECO Office", "Moderate speed and brightness for office work.", Settings(10, 20, 80, 60, 80, 60)},
    {"TurboBattery.eps", "ECO TurboBattery", "The longest time on battery.", Settings(2, 5, 60, 40, 60, 30)},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orv-eco-schemes FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  orv::home::MakeDirs(folder);
  for (const Profile& p : kProfiles) {
    std::string error;
    const std::string path = folder + "/" + p.file;
    if (!orv::fs::WriteFileAtomic(path, orv::power::WriteSchemeFile({p.name, p.description, p.settings}), &error,
                                  orv::fs::Durability::kProcessKill)) {
      std::fprintf(stderr, "orv-eco-schemes: %s: %s\n", path.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
