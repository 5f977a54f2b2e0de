// orv-desktop: the simulated desktop from outside.
//   orv-desktop screenshot <out.png>   the running tray program's screen as PNG
//   orv-desktop info                   the screen set-up in force
//   orv-desktop fullscreen on|maximized|off   a screen-sized program in front
//   orv-desktop icons                  the notification area's icons
// and, for tests and people, the mouse, the keyboard and what is on the screen:
//   orv-desktop windows                visible top-level windows: x y w h, class, title
//   orv-desktop controls TITLE         that window's controls: id, class, text, x y w h, enabled, visible, icon
//   orv-desktop move X Y | click X Y [right|down|up]   (down, up: the left button half a click)
//   orv-desktop press TITLE ID         a click on that control
//   orv-desktop command TITLE ID       WM_COMMAND ID posted to that top-level window, shown or not
//   orv-desktop key KEYS               e.g. esc, enter, tab, ctrl+alt+s (several: "tab tab enter")
//   orv-desktop type TEXT              characters to the focus
//   orv-desktop tray ID left|right     a click on a notification icon
//   orv-desktop tray-place ID          where that icon stands: x y w h
//   orv-desktop menu | choose TEXT     the open menu's items; a click on one
//   orv-desktop menu-places            the open menu's items with their places: id, text, x y w h
//   orv-desktop restart-taskbar        the shell's taskbar starts again
//   orv-desktop power-setting GUID VALUE   a power-setting broadcast to the desktop's windows
//   orv-desktop post TITLE MSG WPARAM LPARAM   posts a message (decimal numbers) to that window
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/desktop/sim/frame_server.h"
#include "platform/desktop/sim/screen.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/home/sim/home.h"

namespace {

// Sends an automation request and prints its answer; 1 when nothing answers or
// the answer is an error.
int Automation(const std::string& request) {
  std::string reply;
  orv::gfx::Status s = orv::desktop::RequestText(request, &reply);
  if (s != orv::gfx::Ok) {
    std::fprintf(stderr, "orv-desktop: %s\n", s == orv::gfx::FileNotFound ? "no desktop is running" : "no answer came back");
    return 1;
  }
  if (reply.rfind("ERR ", 0) == 0) {
    std::fprintf(stderr, "orv-desktop: %s", reply.c_str() + 4);
    return 1;
  }
  if (reply == "OK\n") return 0;
  if (reply.size() >= 4 && reply.compare(reply.size() - 4, 4, "END\n") == 0) reply.resize(reply.size() - 4);
  std::fputs(reply.c_str(), stdout);
  return 0;
}

std::string Join(int argc, char** argv, int from) {
  std::string out;
  for (int i = from; i < argc; ++i) out += (i > from ? " " : "") + std::string(argv[i]);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (argc == 2 && command == "windows") return Automation("TOPLEVEL");
  if (argc >= 3 && command == "controls") return Automation("CONTROLS " + Join(argc, argv, 2));
  if (argc == 4 && command == "move") return Automation(std::string("MOVE ") + argv[2] + " " + argv[3]);
  if ((argc == 4 || argc == 5) && command == "click")
    return Automation(std::string("CLICK ") + argv[2] + " " + argv[3] + (argc == 5 ? std::string(" ") + argv[4] : ""));
  if (argc == 4 && command == "press") return Automation(std::string("PRESS ") + argv[3] + " " + argv[2]);
  if (argc == 4 && command == "command") return Automation(std::string("COMMAND ") + argv[3] + " " + argv[2]);
  if (argc >= 3 && command == "key") return Automation("KEY " + Join(argc, argv, 2));
  if (argc >= 3 && command == "type") return Automation("TYPE " + Join(argc, argv, 2));
  if (argc == 4 && command == "tray") return Automation(std::string("TRAY ") + argv[2] + " " + argv[3]);
  if (argc == 3 && command == "tray-place") return Automation(std::string("TRAY PLACE ") + argv[2]);
  if (argc == 2 && command == "menu") return Automation("MENU");
  if (argc == 2 && command == "menu-places") return Automation("MENU PLACES");
  if (argc >= 3 && command == "choose") return Automation("CHOOSE " + Join(argc, argv, 2));
  if (argc == 2 && command == "restart-taskbar") return Automation("RESTART TASKBAR");
  if (argc == 4 && command == "power-setting") return Automation(std::string("POWERSETTING ") + argv[2] + " " + argv[3]);
  if (argc >= 6 && command == "post")
    return Automation(std::string("POST ") + argv[argc - 3] + " " + argv[argc - 2] + " " + argv[argc - 1] + " " +
                      Join(argc - 3, argv, 2));
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
               "usage: orv-desktop screenshot <out.png> | info | fullscreen on|maximized|off | icons | windows |\n"
               "       controls TITLE | move X Y | click X Y [right|down|up] | press TITLE ID | command TITLE ID |\n"
               "       key KEYS | type TEXT | tray ID left|right | tray-place ID | menu | menu-places | choose TEXT |\n"
               "       restart-taskbar | power-setting {GUID} VALUE | post TITLE MSG WPARAM LPARAM\n");
  return 2;
}
