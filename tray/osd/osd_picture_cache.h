// COsdPictureCache: the OSD's pictures, each decoded once while its file stays
// the same. Users replace the picture files to change the displays, so every
// use still looks at the file: a file with another identity (volume, file
// index, size, last write or change time) than the one decoded is decoded
// again, and so is a file written in the last two seconds, which could still be
// rewritten within one tick of the file system's clock. The decoded pixels are
// copied off the file, so the cache holds no file open. Shared by the OSD
// windows of the process; used on their thread.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>

class COsdPictureCache {
 public:
  // The cache the OSD windows share; it lives while one of them holds it.
  static std::shared_ptr<COsdPictureCache> Shared();

  // The picture of the file at path (a Windows path), decoded now when the file
  // is new to the cache or has changed; nullptr when the file cannot be opened
  // or decoded. Release it before the picture library shuts down.
  std::shared_ptr<Gdiplus::Image> Get(const char* path);

  // How many times a file was decoded, for the tests of the cache.
  unsigned long Decodes() const { return m_decodes; }

 private:
  struct Identity {
    BY_HANDLE_FILE_INFORMATION info{};
    bool operator==(const Identity& o) const;
  };
  struct Entry {
    Identity identity;
    bool settled = false;  // the file kept its identity while it was decoded
    std::shared_ptr<Gdiplus::Image> picture;
    std::size_t bytes = 0;
    unsigned long long lastUse = 0;
  };

  static bool IdentityOf(const char* path, Identity* identity);
  static std::unique_ptr<Gdiplus::Bitmap> Decode(const char* path);
  void Trim();

  std::map<std::string, Entry> m_entries;
  std::size_t m_bytes = 0;
  unsigned long long m_uses = 0;
  unsigned long m_decodes = 0;
};
