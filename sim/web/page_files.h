// The page's files, held in the program (generated from sim/web/page at build
// time by embed_page.cmake): the only things the server sends besides its
// WebSocket's messages.
#pragma once
#include <cstddef>

namespace orv::web {

struct PageFile {
  const char* route;  // "/", "/app.js", ...
  const char* type;   // its Content-Type
  const unsigned char* data;
  std::size_t size;
};

// The file served at exactly this route, or null.
const PageFile* FindPageFile(const char* route);

}  // namespace orv::web
