// osd-probe <out.png> <kind> <level> <image> <range> [...]: a minimal owner of OSD
// windows, one per kind, as the tray program has. Draws and shows each display,
// prints "kind x y w h" for each window and writes the composed screen.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "platform/desktop/sim/compositor.h"
#include "tray/osd/KvSysOSD.h"

int main(int argc, char** argv) {
  if (argc < 6 || (argc - 2) % 4 != 0) {
    std::fprintf(stderr, "usage: osd-probe <out.png> <kind> <level> <image> <range> [...]\n");
    return 2;
  }
  std::map<int, std::unique_ptr<CKvSysOSD>> windows;
  for (int i = 2; i + 3 < argc; i += 4) {
    int kind = std::atoi(argv[i]);
    auto& osd = windows[kind];
    if (!osd) {
      osd = std::make_unique<CKvSysOSD>();
      if (!osd->Create(CKvSysOSD::IDD)) return 1;
    }
    osd->DrawOSD(kind, std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), std::atoi(argv[i + 3]));
    ShowWindow(osd->GetSafeHwnd(), SW_SHOWNOACTIVATE);
  }
  for (auto& [kind, osd] : windows) {
    RECT r;
    GetWindowRect(osd->GetSafeHwnd(), &r);
    std::printf("%d %d %d %d %d\n", kind, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  return orv::desktop::SaveScreenshot(argv[1]) == orv::gfx::Ok ? 0 : 1;
}
