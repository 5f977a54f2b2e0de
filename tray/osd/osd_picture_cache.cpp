// The OSD's picture cache: file identity, decoding into a detached copy, and a
// bound on the pixels kept (the least recently used pictures go first).
#include "tray/osd/osd_picture_cache.h"

#include "platform/base/unique_handle.h"

namespace {

// About fifty full-size pictures: a whole volume sweep stays decoded.
constexpr std::size_t kMaxBytes = 4u << 20;

// A file written less than this long ago may be written again within the same
// tick of the file system's clock, keeping its times and size: its picture is
// not trusted to stay the same until the file is older.
constexpr unsigned long long kSettleTicks = 2ull * 10000000ull;  // 2 s in 100 ns

unsigned long long Ticks(const FILETIME& t) {
  return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

bool OldEnough(const BY_HANDLE_FILE_INFORMATION& info) {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  unsigned long long written = Ticks(info.ftLastWriteTime);
  return Ticks(now) > written && Ticks(now) - written >= kSettleTicks;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

bool COsdPictureCache::Identity::operator==(const Identity& o) const {
  return info.dwVolumeSerialNumber == o.info.dwVolumeSerialNumber && info.nFileIndexHigh == o.info.nFileIndexHigh &&
         info.nFileIndexLow == o.info.nFileIndexLow && info.nFileSizeHigh == o.info.nFileSizeHigh &&
         info.nFileSizeLow == o.info.nFileSizeLow && SameTime(info.ftLastWriteTime, o.info.ftLastWriteTime) &&
         SameTime(info.ftCreationTime, o.info.ftCreationTime);
}

std::shared_ptr<COsdPictureCache> COsdPictureCache::Shared() {
  static std::weak_ptr<COsdPictureCache> shared;
  std::shared_ptr<COsdPictureCache> cache = shared.lock();
  if (!cache) {
    cache = std::make_shared<COsdPictureCache>();
    shared = cache;
  }
  return cache;
}

bool COsdPictureCache::IdentityOf(const char* path, Identity* identity) {
  orv::unique_file file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && GetFileInformationByHandle(file.get(), &identity->info) != FALSE;
}

std::unique_ptr<Gdiplus::Bitmap> COsdPictureCache::Decode(const char* path) {
  WCHAR wide[1024];
  if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, static_cast<int>(sizeof wide / sizeof wide[0])))
    return nullptr;
  std::unique_ptr<Gdiplus::Image> file(Gdiplus::Image::FromFile(wide));
  if (!file || file->GetLastStatus() != Gdiplus::Ok) return nullptr;
  const INT w = static_cast<INT>(file->GetWidth()), h = static_cast<INT>(file->GetHeight());
  if (w <= 0 || h <= 0) return nullptr;
  // Drawn onto a transparent canvas of its own size, the picture keeps its
  // pixels and lets go of the file, which the user may replace at any time.
  auto copy = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppARGB);
  if (copy->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::Graphics canvas(copy.get());
  if (canvas.DrawImage(file.get(), 0, 0, w, h) != Gdiplus::Ok) return nullptr;
  return copy;
}

std::shared_ptr<Gdiplus::Image> COsdPictureCache::Get(const char* path) {
  if (!path || !*path) return nullptr;
  Identity before;
  if (!IdentityOf(path, &before)) return nullptr;
  auto it = m_entries.find(path);
  if (it != m_entries.end() && it->second.settled && it->second.identity == before) {
    it->second.lastUse = ++m_uses;
    return it->second.picture;
  }
  if (it != m_entries.end()) {
    m_bytes -= it->second.bytes;
    m_entries.erase(it);
  }
  std::unique_ptr<Gdiplus::Bitmap> picture = Decode(path);
  ++m_decodes;
  if (!picture) return nullptr;
  // A file replaced while it was read, or written so lately that it may yet
  // change without a new identity, is decoded again next time.
  Identity after;
  Entry entry;
  entry.identity = before;
  entry.settled = IdentityOf(path, &after) && after == before && OldEnough(before.info);
  entry.bytes = static_cast<std::size_t>(picture->GetWidth()) * picture->GetHeight() * 4;
  entry.lastUse = ++m_uses;
  entry.picture = std::move(picture);
  std::shared_ptr<Gdiplus::Image> result = entry.picture;
  m_bytes += entry.bytes;
  m_entries[path] = std::move(entry);
  Trim();
  return result;
}

void COsdPictureCache::Trim() {
  // The picture just used is the most recent and is never the one to go.
  while (m_bytes > kMaxBytes && m_entries.size() > 1) {
    auto oldest = m_entries.begin();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
      if (it->second.lastUse < oldest->second.lastUse) oldest = it;
    m_bytes -= oldest->second.bytes;
    m_entries.erase(oldest);
  }
}
