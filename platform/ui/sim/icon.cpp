// Icons: the handle table, loading from the module's icon groups (RT_GROUP_ICON
// naming RT_ICON images of 24 or 32 bits with their masks, as the resource
// compiler stores an .ico file), sizes and destruction.
#include "platform/ui/sim/icon.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/ui/sim/internal.h"

namespace orv::ui {
namespace {

constexpr int kDefaultIconSize = 32;  // SM_CXICON

struct Icon {
  std::vector<IconPixels> images;  // the group's images; the first is the icon's own size
  bool shared = false;
};

struct Icons {
  std::mutex mutex;
  std::uintptr_t next = 0x40010;
  std::map<HICON, std::shared_ptr<Icon>> byHandle;
  std::map<std::string, HICON> shared;  // module, name and size of LoadIcon / LR_SHARED loads
};

Icons& TheIcons() {
  static Icons* icons = new Icons;  // never destroyed: shared icons live as long as the process
  return *icons;
}

std::uint32_t Le32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }
std::uint16_t Le16(const BYTE* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t Premultiplied(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
}

// One RT_ICON image: a BITMAPINFOHEADER (height doubled for the mask), the
// colour rows and the mask rows, both bottom row first.
bool DecodeImage(const BYTE* data, std::size_t size, IconPixels* out) {
  if (size < 40 || Le32(data) != 40) return false;
  const int width = static_cast<int>(Le32(data + 4)), height = static_cast<int>(Le32(data + 8)) / 2;
  const int bits = Le16(data + 14);
  if (width <= 0 || height <= 0 || width > 1024 || height > 1024 || (bits != 32 && bits != 24) || Le32(data + 16) != 0)
    return false;
  const std::size_t colourRow = (static_cast<std::size_t>(width) * bits / 8 + 3) & ~std::size_t(3);
  const std::size_t maskRow = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  const BYTE* colour = data + 40;
  const BYTE* mask = colour + colourRow * static_cast<std::size_t>(height);
  if (40 + (colourRow + maskRow) * static_cast<std::size_t>(height) > size) return false;
  bool anyAlpha = false;
  if (bits == 32)
    for (int i = 0; i < width * height && !anyAlpha; ++i)
      anyAlpha = colour[(i / width) * colourRow + (i % width) * 4 + 3] != 0;
  out->width = width;
  out->height = height;
  out->argb.assign(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    const BYTE* row = colour + colourRow * static_cast<std::size_t>(height - 1 - y);
    const BYTE* maskBits = mask + maskRow * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const BYTE* px = row + x * (bits / 8);
      bool transparent = (maskBits[x / 8] >> (7 - x % 8)) & 1;
      std::uint32_t a = anyAlpha ? px[3] : (transparent ? 0 : 255);
      out->argb[static_cast<std::size_t>(y) * width + x] = Premultiplied(a, px[2], px[1], px[0]);
    }
  }
  return true;
}

IconPixels Scaled(const IconPixels& from, int size) {
  if (from.width == size && from.height == size) return from;
  IconPixels out;
  out.width = out.height = size;
  out.argb.resize(static_cast<std::size_t>(size) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      out.argb[static_cast<std::size_t>(y) * size + x] =
          from.argb[static_cast<std::size_t>(y * from.height / size) * from.width + x * from.width / size];
  return out;
}

// The image nearest the size: the same size, else the smallest larger one, else the largest.
const IconPixels* Nearest(const std::vector<IconPixels>& images, int size) {
  const IconPixels* best = nullptr;
  for (const IconPixels& image : images) {
    if (!best) { best = &image; continue; }
    int d = image.width - size, bd = best->width - size;
    bool better = (d >= 0 && (bd < 0 || d < bd)) || (d < 0 && bd < 0 && d > bd);
    if (better) best = &image;
  }
  return best;
}

HICON AddIcon(std::shared_ptr<Icon> icon) {
  Icons& icons = TheIcons();
  std::lock_guard<std::mutex> lock(icons.mutex);
  HICON handle = reinterpret_cast<HICON>(icons.next);
  icons.next += 4;
  icons.byHandle.emplace(handle, std::move(icon));
  return handle;
}

std::string SharedKey(HINSTANCE instance, LPCSTR name, int size) {
  std::string key = std::to_string(reinterpret_cast<std::uintptr_t>(instance)) + "|";
  key += IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name))
                              : detail::FoldCase(name);
  return key + "|" + std::to_string(size);
}

// The icon group's images, the one nearest size first, that one scaled to size
// (0: as the resource has it). Null with the error set when there is none.
std::shared_ptr<Icon> LoadGroup(HINSTANCE instance, LPCSTR name, int size) {
  HRSRC group = FindResourceA(instance, name, RT_GROUP_ICON);
  if (!group) return nullptr;
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(instance, group)));
  const DWORD dirSize = SizeofResource(instance, group);
  if (!dir || dirSize < 6 || Le16(dir + 2) != 1 || dirSize < 6 + 14u * Le16(dir + 4)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  auto icon = std::make_shared<Icon>();
  for (int i = 0; i < Le16(dir + 4); ++i) {
    WORD id = Le16(dir + 6 + 14 * i + 12);
    HRSRC image = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_ICON);
    IconPixels pixels;
    if (image && DecodeImage(static_cast<const BYTE*>(LockResource(LoadResource(instance, image))),
                             SizeofResource(instance, image), &pixels))
      icon->images.push_back(std::move(pixels));
  }
  if (icon->images.empty()) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const IconPixels* chosen = size ? Nearest(icon->images, size) : &icon->images.front();
  IconPixels own = size ? Scaled(*chosen, size) : *chosen;
  icon->images.insert(icon->images.begin(), std::move(own));
  return icon;
}

HICON Load(HINSTANCE instance, LPCSTR name, int size, bool shared) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string key = SharedKey(instance, name, size);
  if (shared) {
    Icons& icons = TheIcons();
    std::lock_guard<std::mutex> lock(icons.mutex);
    auto it = icons.shared.find(key);
    if (it != icons.shared.end()) return it->second;
  }
  auto icon = LoadGroup(instance, name, size);
  if (!icon) return nullptr;
  icon->shared = shared;
  HICON handle = AddIcon(icon);
  if (shared) {
    Icons& icons = TheIcons();
    std::lock_guard<std::mutex> lock(icons.mutex);
    icons.shared.emplace(key, handle);
  }
  return handle;
}

}  // namespace

bool DecodeIconImage(const unsigned char* data, std::size_t size, int scaleTo, IconPixels* out) {
  IconPixels image;
  if (!DecodeImage(data, size, &image)) return false;
  *out = Scaled(image, scaleTo);
  return true;
}

bool IconImage(HICON icon, int size, IconPixels* out) {
  Icons& icons = TheIcons();
  std::lock_guard<std::mutex> lock(icons.mutex);
  auto it = icons.byHandle.find(icon);
  if (it == icons.byHandle.end() || !out || size <= 0) return false;
  *out = Scaled(*Nearest(it->second->images, size), size);
  return true;
}

HICON CreateIconFromPixels(IconPixels pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.argb.size() != static_cast<std::size_t>(pixels.width) * pixels.height) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto icon = std::make_shared<Icon>();
  icon->images.push_back(std::move(pixels));
  return AddIcon(icon);
}

}  // namespace orv::ui

extern "C" {

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
  return orv::ui::Load(hInstance, lpIconName, orv::ui::kDefaultIconSize, true);
}

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
  if (type != IMAGE_ICON || (fuLoad & LR_LOADFROMFILE)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  int size = std::max(cx, cy);
  if (size == 0 && (fuLoad & LR_DEFAULTSIZE)) size = orv::ui::kDefaultIconSize;
  return orv::ui::Load(hInst, name, size, (fuLoad & LR_SHARED) != 0);
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
  auto& icons = orv::ui::TheIcons();
  std::lock_guard<std::mutex> lock(icons.mutex);
  auto it = icons.byHandle.find(hIcon);
  if (it == icons.byHandle.end()) {
    SetLastError(ERROR_INVALID_ICON_HANDLE);
    return FALSE;
  }
  if (!it->second->shared) icons.byHandle.erase(it);  // a shared icon belongs to its module
  return TRUE;
}

}  // extern "C"
