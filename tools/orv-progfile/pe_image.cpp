// Writing a PE32 image whose .rsrc section carries an icon group: the resource
// directory (type, name, language), its data entries, then the data; and an
// icon file read as such a group.
#include "tools/orv-progfile/pe_image.h"

namespace orv::progfile {
namespace {

constexpr std::uint32_t kSectionRva = 0x1000, kSectionFile = 0x200;

void Put16(std::string& b, std::size_t at, std::uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2, '\0');
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

std::uint32_t Get(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

// A directory of id entries at `at` in the section; each entry points to `to`
// (a subdirectory when `subdirectory`).
void Directory(std::string& s, std::size_t at, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& entries,
               bool subdirectory) {
  Put16(s, at + 14, static_cast<std::uint16_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Put32(s, at + 16 + i * 8, entries[i].first);
    Put32(s, at + 20 + i * 8, entries[i].second | (subdirectory ? 0x80000000u : 0));
  }
}

}  // namespace

bool IconFileAsGroup(const std::string& ico, std::string* group, std::vector<IconImage>* icons) {
  // ICONDIR (reserved 0, type 1, count), then 16-byte entries whose last two
  // fields are the image's size and offset; a group entry has 14 bytes, the
  // image's id in place of its offset.
  if (ico.size() < 6 || Get(ico, 0, 2) != 0 || Get(ico, 2, 2) != 1) return false;
  const std::uint32_t count = Get(ico, 4, 2);
  if (count == 0 || ico.size() < 6 + 16 * std::size_t(count)) return false;
  group->assign(ico, 0, 6);
  icons->clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * std::size_t(i);
    const std::uint32_t size = Get(ico, entry + 8, 4), offset = Get(ico, entry + 12, 4);
    if (size == 0 || offset > ico.size() || size > ico.size() - offset) return false;
    const auto id = static_cast<std::uint16_t>(i + 1);
    group->append(ico, entry, 12);
    std::string idBytes;
    Put16(idBytes, 0, id);
    group->append(idBytes);
    icons->emplace_back(id, ico.substr(offset, size));
  }
  return true;
}

std::string ProgramImage(int id, const std::string& group, const std::vector<IconImage>& icons) {

  // The section: root (2 types), the icon type's names, the group type's name,
  // a language directory and a data entry per resource, then the data.
  const std::size_t n = icons.size();
  const std::size_t root = 0, iconNames = 32, groupNames = iconNames + 16 + 8 * n;
  const std::size_t languages = groupNames + 24;  // n + 1 directories of 24 bytes
  const std::size_t entries = languages + 24 * (n + 1);
  std::size_t data = entries + 16 * (n + 1);
  std::string s;
  Directory(s, root, {{3, static_cast<std::uint32_t>(iconNames)}, {14, static_cast<std::uint32_t>(groupNames)}}, true);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> names;
  for (std::size_t i = 0; i < n; ++i) names.emplace_back(icons[i].first, static_cast<std::uint32_t>(languages + 24 * i));
  Directory(s, iconNames, names, true);
  Directory(s, groupNames, {{static_cast<std::uint32_t>(id), static_cast<std::uint32_t>(languages + 24 * n)}}, true);
  for (std::size_t i = 0; i <= n; ++i) {
    Directory(s, languages + 24 * i, {{0x409, static_cast<std::uint32_t>(entries + 16 * i)}}, false);
    const std::string& bytes = i < n ? icons[i].second : group;
    Put32(s, entries + 16 * i, static_cast<std::uint32_t>(kSectionRva + data));
    Put32(s, entries + 16 * i + 4, static_cast<std::uint32_t>(bytes.size()));
    s.resize(data);
    s += bytes;
    data = (s.size() + 7) & ~std::size_t(7);
  }
  s.resize((s.size() + 0x1FF) & ~std::size_t(0x1FF), '\0');

  std::string file(kSectionFile, '\0');
  file[0] = 'M';
  file[1] = 'Z';
  Put32(file, 0x3C, 0x40);
  Put32(file, 0x40, 0x00004550);            // "PE\0\0"
  Put16(file, 0x44, 0x014C);                // i386
  Put16(file, 0x46, 1);                     // one section
  Put16(file, 0x54, 224);                   // optional header size
  Put16(file, 0x56, 0x0102);                // executable, 32-bit
  const std::size_t optional = 0x58;
  Put16(file, optional, 0x010B);            // PE32
  Put32(file, optional + 32, 0x1000);       // section alignment
  Put32(file, optional + 36, 0x200);        // file alignment
  Put32(file, optional + 56, static_cast<std::uint32_t>(kSectionRva + s.size()));  // image size
  Put32(file, optional + 60, kSectionFile); // headers size
  Put16(file, optional + 68, 2);            // GUI subsystem
  Put32(file, optional + 92, 16);           // data directories
  Put32(file, optional + 96 + 2 * 8, kSectionRva);
  Put32(file, optional + 96 + 2 * 8 + 4, static_cast<std::uint32_t>(s.size()));
  const std::size_t section = optional + 224;
  file.replace(section, 5, ".rsrc");
  Put32(file, section + 8, static_cast<std::uint32_t>(s.size()));
  Put32(file, section + 12, kSectionRva);
  Put32(file, section + 16, static_cast<std::uint32_t>(s.size()));
  Put32(file, section + 20, kSectionFile);
  Put32(file, section + 36, 0x40000040);    // initialised data, readable
  return file + s;
}

}  // namespace orv::progfile
