// The DLGTEMPLATEEX reader.
#include "platform/ui/sim/dialog_template.h"

#include <cstring>

#include "platform/text/sim/ansi.h"

namespace orv::ui::detail {
namespace {

class Reader {
 public:
  Reader(const void* data, std::size_t size) : p_(static_cast<const BYTE*>(data)), size_(size) {}
  bool ok() const { return ok_; }

  WORD Word() {
    if (!Need(2)) return 0;
    WORD v = static_cast<WORD>(p_[at_] | (p_[at_ + 1] << 8));
    at_ += 2;
    return v;
  }
  DWORD Dword() {
    DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    if (!Need(1)) return 0;
    return p_[at_++];
  }
  std::string String() {
    std::u16string wide;
    for (WORD c = Word(); ok_ && c != 0; c = Word()) wide.push_back(static_cast<char16_t>(c));
    return orv::text::WideToAnsi(wide);
  }
  // 0x0000: none; 0xFFFF and a word: an ordinal; otherwise a string.
  NameOrOrdinal NameOrOrdinalField() {
    NameOrOrdinal out;
    if (!Need(2)) return out;
    WORD first = static_cast<WORD>(p_[at_] | (p_[at_ + 1] << 8));
    if (first == 0xFFFF) {
      Word();
      out.ordinal = Word();
    } else {
      out.name = String();
    }
    return out;
  }
  std::vector<BYTE> Bytes(std::size_t n) {
    std::vector<BYTE> out;
    if (!Need(n)) return out;
    out.assign(p_ + at_, p_ + at_ + n);
    at_ += n;
    return out;
  }
  void AlignDword() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }

 private:
  bool Need(std::size_t n) {
    if (!ok_ || at_ + n > size_) ok_ = false;
    return ok_;
  }
  const BYTE* p_;
  std::size_t size_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

void ReadStyles(Reader& r, DialogFrame* f) {
  f->helpId = r.Dword();
  f->exStyle = r.Dword();
  f->style = r.Dword();
}

void ReadPlace(Reader& r, DialogFrame* f) {
  f->x = r.Short();
  f->y = r.Short();
  f->cx = r.Short();
  f->cy = r.Short();
}

}  // namespace

const char* ClassOfOrdinal(WORD ordinal) {
  switch (ordinal) {
    case 0x0080: return "BUTTON";
    case 0x0081: return "EDIT";
    case 0x0082: return "STATIC";
    case 0x0083: return "LISTBOX";
    case 0x0084: return "SCROLLBAR";
    case 0x0085: return "COMBOBOX";
    default: return "";
  }
}

bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out) {
  if (!data || !out) return false;
  Reader r(data, size);
  DialogTemplate t;
  if (r.Word() != 1 || r.Word() != 0xFFFF) return false;  // dlgVer, signature
  ReadStyles(r, &t);
  WORD count = r.Word();
  ReadPlace(r, &t);
  t.menu = r.NameOrOrdinalField();
  t.windowClass = r.NameOrOrdinalField();
  t.title = r.String();
  if (t.style & DS_SETFONT) {
    t.pointSize = r.Word();
    t.weight = r.Word();
    t.italic = r.Byte();
    t.charset = r.Byte();
    t.typeface = r.String();
  }
  for (WORD i = 0; i < count && r.ok(); ++i) {
    r.AlignDword();
    DialogItem item;
    ReadStyles(r, &item);
    ReadPlace(r, &item);
    item.id = r.Dword();
    item.windowClass = r.NameOrOrdinalField();
    item.title = r.NameOrOrdinalField();
    item.creationData = r.Bytes(r.Word());
    t.items.push_back(std::move(item));
  }
  if (!r.ok()) return false;
  *out = std::move(t);
  return true;
}

}  // namespace orv::ui::detail
