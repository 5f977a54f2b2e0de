// ExtractIconExA: the icons of a program file (a PE image's RT_GROUP_ICON
// resources, read from its resource section) or of an .ico file.
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/fs/sim/paths.h"
#include "platform/ui/sim/icon.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Image {
  int width;
  const unsigned char* data;
  std::size_t size;
};
using Group = std::vector<Image>;  // one icon: its images

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  if (at + 4 > b.size()) return 0;
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t Le16(const Bytes& b, std::size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// The PE image's resource section: RVAs turn into file offsets through the
// section table.
struct PeImage {
  const Bytes* file = nullptr;
  struct Section {
    std::uint32_t rva, size, offset;
  };
  std::vector<Section> sections;
  std::uint32_t resourceRva = 0;

  bool Open(const Bytes& b) {
    file = &b;
    if (b.size() < 64 || b[0] != 'M' || b[1] != 'Z') return false;
    const std::uint32_t pe = Le32(b, 0x3C);
    if (Le32(b, pe) != 0x00004550) return false;  // "PE\0\0"
    const std::uint16_t count = Le16(b, pe + 6), optionalSize = Le16(b, pe + 20);
    const std::size_t optional = pe + 24;
    const std::uint16_t magic = Le16(b, optional);
    const std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
    if (magic != 0x10B && magic != 0x20B) return false;
    resourceRva = Le32(b, directories + 2 * 8);
    for (std::size_t i = 0, at = optional + optionalSize; i < count; ++i, at += 40)
      sections.push_back({Le32(b, at + 12), std::max(Le32(b, at + 8), Le32(b, at + 16)), Le32(b, at + 20)});
    return resourceRva != 0;
  }
  // The file offset of an RVA, or 0 when no section holds it.
  std::size_t Offset(std::uint32_t rva) const {
    for (const Section& s : sections)
      if (rva >= s.rva && rva < s.rva + s.size) return s.offset + (rva - s.rva);
    return 0;
  }
  // Entries of the resource directory at dir (an offset into the section):
  // each its id (or 0 for a name) and the offset its data or subdirectory has.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Entries(std::uint32_t dir) const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    const std::size_t base = Offset(resourceRva);
    if (!base) return out;
    const std::size_t at = base + dir;
    const unsigned n = Le16(*file, at + 12) + Le16(*file, at + 14);
    for (unsigned i = 0; i < n && i < 4096; ++i) {
      const std::uint32_t name = Le32(*file, at + 16 + i * 8), data = Le32(*file, at + 20 + i * 8);
      out.emplace_back(name & 0x80000000u ? 0 : name, data);
    }
    return out;
  }
  // The bytes of the first language of a type/name entry's subdirectory.
  bool Data(std::uint32_t entry, const unsigned char** data, std::size_t* size) const {
    std::uint32_t at = entry;
    while (at & 0x80000000u) {
      auto languages = Entries(at & 0x7FFFFFFFu);
      if (languages.empty()) return false;
      at = languages.front().second;
    }
    const std::size_t base = Offset(resourceRva);
    const std::size_t offset = Offset(Le32(*file, base + at));
    const std::uint32_t length = Le32(*file, base + at + 4);
    if (!offset || offset + length > file->size()) return false;
    *data = file->data() + offset;
    *size = length;
    return true;
  }
};

std::vector<Group> PeIcons(const Bytes& b) {
  std::vector<Group> groups;
  PeImage pe;
  if (!pe.Open(b)) return groups;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> icons, iconGroups;
  for (auto& [type, sub] : pe.Entries(0)) {
    if (!(sub & 0x80000000u)) continue;
    if (type == 3) icons = pe.Entries(sub & 0x7FFFFFFFu);
    if (type == 14) iconGroups = pe.Entries(sub & 0x7FFFFFFFu);
  }
  for (auto& [name, entry] : iconGroups) {
    (void)name;
    const unsigned char* dir;
    std::size_t size;
    if (!pe.Data(entry, &dir, &size) || size < 6) continue;
    Bytes header(dir, dir + size);
    Group group;
    const unsigned count = Le16(header, 4);
    for (unsigned i = 0; i < count && 6 + (i + 1) * 14 <= size; ++i) {
      const std::size_t at = 6 + i * 14;
      const std::uint16_t id = Le16(header, at + 12);
      const int width = header[at] ? header[at] : 256;
      for (auto& [iconId, iconEntry] : icons) {
        const unsigned char* data;
        std::size_t length;
        if (iconId == id && pe.Data(iconEntry, &data, &length)) group.push_back({width, data, length});
      }
    }
    if (!group.empty()) groups.push_back(group);
  }
  return groups;
}

std::vector<Group> IcoIcons(const Bytes& b) {
  std::vector<Group> groups;
  if (b.size() < 6 || Le16(b, 0) != 0 || Le16(b, 2) != 1) return groups;
  Group group;
  for (unsigned i = 0, n = Le16(b, 4); i < n; ++i) {
    const std::size_t at = 6 + i * 16;
    const std::uint32_t length = Le32(b, at + 8), offset = Le32(b, at + 12);
    if (at + 16 > b.size() || offset + static_cast<std::size_t>(length) > b.size()) break;
    group.push_back({b[at] ? b[at] : 256, b.data() + offset, length});
  }
  if (!group.empty()) groups.push_back(group);
  return groups;
}

// The image nearest the size (the same, else the smallest larger, else the largest) as an icon.
HICON MakeIcon(const Group& group, int size) {
  const Image* best = nullptr;
  for (const Image& image : group) {
    if (!best) { best = &image; continue; }
    const int d = image.width - size, bd = best->width - size;
    if ((d >= 0 && (bd < 0 || d < bd)) || (d < 0 && bd < 0 && d > bd)) best = &image;
  }
  orv::ui::IconPixels pixels;
  if (!best || !orv::ui::DecodeIconImage(best->data, best->size, size, &pixels)) return nullptr;
  return orv::ui::CreateIconFromPixels(std::move(pixels));
}

}  // namespace

extern "C" {

UINT WINAPI ExtractIconExA(LPCSTR lpszFile, int nIconIndex, HICON* phiconLarge, HICON* phiconSmall, UINT nIcons) {
  if (!lpszFile) return 0;
  const orv::fs::MappedPath mapped = orv::fs::MapPath(lpszFile);
  if (!mapped.valid || !mapped.exists || mapped.isDirectory) return 0;
  std::ifstream in(mapped.host, std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<Group> groups = PeIcons(file);
  if (groups.empty()) groups = IcoIcons(file);
  if (nIconIndex == -1 && !phiconLarge && !phiconSmall) return static_cast<UINT>(groups.size());
  if (nIconIndex < 0) return 0;
  UINT extracted = 0;
  for (UINT i = 0; i < nIcons && static_cast<std::size_t>(nIconIndex) + i < groups.size(); ++i) {
    const Group& g = groups[static_cast<std::size_t>(nIconIndex) + i];
    if (phiconLarge) phiconLarge[i] = MakeIcon(g, 32);
    if (phiconSmall) phiconSmall[i] = MakeIcon(g, 16);
    ++extracted;
  }
  return extracted;
}

}  // extern "C"
