// orv-desktop: the simulated desktop from outside.
//   orv-desktop screenshot <out.png>   the running tray program's screen as PNG
//   orv-desktop info                   the screen set-up in force
//   orv-desktop fullscreen on|maximized|off   a screen-sized program in front
//   orv-desktop icons                  the notification area's icons
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/desktop/sim/frame_server.h"
#include "platform/desktop/sim/screen.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/home/sim/home.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "screenshot") == 0) {
    orv::gfx::Status s = orv::desktop::RequestScreenshot(argv[2]);
    if (s == orv::gfx::Ok) return 0;
    std::fprintf(stderr, "orv-desktop: %s\n",
                 s == orv::gfx::FileNotFound ? "no desktop is running" : "no picture came back");
    return 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "fullscreen") == 0) {
    std::string mode = std::strcmp(argv[2], "on") == 0 ? "fullscreen" : argv[2];
    orv::gfx::Status s = orv::desktop::RequestPlayer(mode);
    if (s == orv::gfx::Ok) return 0;
    std::fprintf(stderr, "orv-desktop: %s\n",
                 s == orv::gfx::FileNotFound       ? "no desktop is running"
                 : s == orv::gfx::InvalidParameter ? "fullscreen takes on, maximized or off"
                                                   : "no answer came back");
    return s == orv::gfx::InvalidParameter ? 2 : 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "icons") == 0) {
    std::ifstream area(orv::home::Path(orv::desktop::kNotifyAreaFile));
    std::string line;
    while (std::getline(area, line)) std::printf("%s\n", line.c_str());
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "info") == 0) {
    orv::desktop::Config c = orv::desktop::CurrentConfig();
    static const char* kEdges[] = {"left", "top", "right", "bottom", "none"};
    std::printf("screen=%dx%d\ntaskbar=%s:%d\n", c.width, c.height,
                kEdges[static_cast<int>(c.taskbarEdge)], c.taskbarThickness);
    return 0;
  }
  std::fprintf(stderr,
               "usage: orv-desktop screenshot <out.png> | info | fullscreen on|maximized|off | icons\n");
  return 2;
}
