// orv-desktop: the simulated desktop from outside.
//   orv-desktop screenshot <out.png>   the running tray program's screen as PNG
//   orv-desktop info                   the screen set-up in force
#include <cstdio>
#include <cstring>

#include "platform/desktop/frame_server.h"
#include "platform/desktop/screen.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "screenshot") == 0) {
    orv::gfx::Status s = orv::desktop::RequestScreenshot(argv[2]);
    if (s == orv::gfx::Ok) return 0;
    std::fprintf(stderr, "orv-desktop: %s\n",
                 s == orv::gfx::FileNotFound ? "no desktop is running" : "no picture came back");
    return 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "info") == 0) {
    orv::desktop::Config c = orv::desktop::CurrentConfig();
    static const char* kEdges[] = {"left", "top", "right", "bottom", "none"};
    std::printf("screen=%dx%d\ntaskbar=%s:%d\n", c.width, c.height,
                kEdges[static_cast<int>(c.taskbarEdge)], c.taskbarThickness);
    return 0;
  }
  std::fprintf(stderr, "usage: orv-desktop screenshot <out.png> | orv-desktop info\n");
  return 2;
}
