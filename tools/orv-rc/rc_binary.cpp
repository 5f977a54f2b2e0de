// Writing DLGTEMPLATEEX and splitting .ico files.
#include "tools/orv-rc/rc_binary.h"

namespace orv::rc {
namespace {

class Writer {
 public:
  void Word(unsigned v) {
    out_.push_back(static_cast<unsigned char>(v & 0xFF));
    out_.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
  }
  void Dword(std::uint32_t v) {
    Word(v & 0xFFFF);
    Word(v >> 16);
  }
  void Byte(unsigned v) { out_.push_back(static_cast<unsigned char>(v)); }
  // Script text is ASCII or UTF-8; each character becomes one UTF-16 unit (the
  // scripts hold no characters outside the Basic Multilingual Plane).
  void String(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      unsigned code = c, extra = 0;
      if (c >= 0xE0) code = c & 0x0F, extra = 2;
      else if (c >= 0xC0) code = c & 0x1F, extra = 1;
      for (++i; extra > 0 && i < s.size(); --extra, ++i) code = (code << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
      Word(code);
    }
    Word(0);
  }
  void NameOrOrdinal(const ResourceId& id, bool ordinal) {
    if (ordinal) {
      Word(0xFFFF);
      Word(id.number);
    } else {
      String(id.text);
    }
  }
  void AlignDword() {
    while (out_.size() % 4) out_.push_back(0);
  }
  std::vector<unsigned char> Take() { return std::move(out_); }

 private:
  std::vector<unsigned char> out_;
};

unsigned Le16(const std::vector<unsigned char>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t Le32(const std::vector<unsigned char>& b, std::size_t at) {
  return Le16(b, at) | (static_cast<std::uint32_t>(Le16(b, at + 2)) << 16);
}

}  // namespace

std::vector<unsigned char> DialogTemplateBytes(const Dialog& d) {
  Writer w;
  w.Word(1);
  w.Word(0xFFFF);
  w.Dword(d.helpId);
  w.Dword(d.exStyle);
  w.Dword(d.style);
  w.Word(static_cast<unsigned>(d.controls.size()));
  for (int v : {d.x, d.y, d.cx, d.cy}) w.Word(static_cast<unsigned>(v) & 0xFFFF);
  if (d.menu.IsText() || d.menu.number) w.NameOrOrdinal(d.menu, !d.menu.IsText());
  else w.Word(0);
  if (d.windowClass.IsText() || d.windowClass.number) w.NameOrOrdinal(d.windowClass, !d.windowClass.IsText());
  else w.Word(0);
  w.String(d.caption);
  if (d.style & 0x40) {  // DS_SETFONT
    w.Word(static_cast<unsigned>(d.pointSize));
    w.Word(static_cast<unsigned>(d.weight));
    w.Byte(static_cast<unsigned>(d.italic));
    w.Byte(static_cast<unsigned>(d.charset));
    w.String(d.typeface);
  }
  for (const DialogControl& c : d.controls) {
    w.AlignDword();
    w.Dword(c.helpId);
    w.Dword(c.exStyle);
    w.Dword(c.style);
    for (int v : {c.x, c.y, c.cx, c.cy}) w.Word(static_cast<unsigned>(v) & 0xFFFF);
    w.Dword(c.id);
    w.NameOrOrdinal(c.windowClass, !c.windowClass.IsText());
    w.NameOrOrdinal(c.title, c.titleIsOrdinal);
    w.Word(0);  // no creation data
  }
  return w.Take();
}

bool SplitIconFile(const std::vector<unsigned char>& file, unsigned* nextIconId,
                   std::vector<std::vector<unsigned char>>* images, std::vector<unsigned char>* group) {
  if (file.size() < 6 || Le16(file, 0) != 0 || Le16(file, 2) != 1) return false;
  const unsigned count = Le16(file, 4);
  if (count == 0 || file.size() < 6 + 16u * count) return false;
  Writer dir;
  dir.Word(0);
  dir.Word(1);
  dir.Word(count);
  images->clear();
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16u * i;
    const std::uint32_t size = Le32(file, entry + 8), offset = Le32(file, entry + 12);
    if (offset > file.size() || size > file.size() - offset) return false;
    images->emplace_back(file.begin() + offset, file.begin() + offset + size);
    for (std::size_t b = 0; b < 4; ++b) dir.Byte(file[entry + b]);  // width, height, colours, reserved
    dir.Word(Le16(file, entry + 4));                                 // planes
    dir.Word(Le16(file, entry + 6));                                 // bits per pixel
    dir.Dword(size);
    dir.Word((*nextIconId)++);
  }
  *group = dir.Take();
  return true;
}

}  // namespace orv::rc
