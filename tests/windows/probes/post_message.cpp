// post_message.exe TITLE MESSAGE WPARAM LPARAM: posts a message to the top-level
// window of that title, as another process of the session would (numbers in C
// notation: 0x4040, 336). Exit code 0 when posted, 1 when no such window exists.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: post_message TITLE MESSAGE WPARAM LPARAM\n");
    return 2;
  }
  HWND window = FindWindowA(nullptr, argv[1]);
  if (!window) return 1;
  const UINT message = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
  const WPARAM wParam = static_cast<WPARAM>(std::strtoull(argv[3], nullptr, 0));
  const LPARAM lParam = static_cast<LPARAM>(std::strtoll(argv[4], nullptr, 0));
  return PostMessageA(window, message, wParam, lParam) ? 0 : 1;
}
