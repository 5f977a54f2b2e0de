// The dialog font through FreeType: one face for Latin text, one for the CJK
// characters the first lacks, both from the Debian font packages the project's
// scripts install. FreeType's objects are not safe across threads: one lock
// guards them all.
#include "platform/gfx/sim/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/text/sim/ansi.h"

namespace orv::gfx {
namespace {

// The first file that exists of each list is used.
const char* const kLatin[] = {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
                              "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
const char* const kLatinBold[] = {"/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
                                  "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};
const char* const kCjk[] = {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"};

struct Faces {
  std::mutex mutex;
  FT_Library library = nullptr;
  FT_Face latin = nullptr, latinBold = nullptr, cjk = nullptr;
};

template <std::size_t N>
FT_Face OpenFirst(FT_Library library, const char* const (&paths)[N]) {
  for (const char* path : paths) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, path, 0, &face) == 0) return face;
  }
  return nullptr;
}

Faces& TheFaces() {
  static Faces* faces = [] {
    auto* f = new Faces;  // lives as long as the process: drawing may happen during exit
    if (FT_Init_FreeType(&f->library) != 0) return f;
    f->latin = OpenFirst(f->library, kLatin);
    f->latinBold = OpenFirst(f->library, kLatinBold);
    f->cjk = OpenFirst(f->library, kCjk);
    return f;
  }();
  return *faces;
}

// The face that has the character, sized; null when none has it. Caller holds the lock.
FT_Face FaceFor(Faces& f, const FontSpec& font, char32_t c) {
  FT_Face primary = font.bold && f.latinBold ? f.latinBold : f.latin;
  for (FT_Face face : {primary, f.cjk}) {
    if (!face || FT_Get_Char_Index(face, c) == 0) continue;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(font.pixelHeight));
    return face;
  }
  return nullptr;
}

std::u32string Decode(const std::string& text) {
  std::u16string wide = text::DecodeUtf8(text.data(), text.size());
  std::u32string out;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
    out.push_back(c);
  }
  return out;
}

// Advance of one character in pixels (caller holds the lock).
int Advance(Faces& f, const FontSpec& font, char32_t c) {
  FT_Face face = FaceFor(f, font, c);
  if (!face || FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0) return 0;
  return static_cast<int>((face->glyph->advance.x + 32) >> 6);
}

FontMetrics MeasureLocked(Faces& f, const FontSpec& font) {
  FontMetrics m;
  FT_Face face = FaceFor(f, font, U'x');
  if (!face) {
    // No font files: the classic 6 x 13 cell of an 8-point dialog font.
    m.ascent = font.pixelHeight;
    m.descent = (font.pixelHeight * 2 + 4) / 8;
    m.height = m.ascent + m.descent;
    m.averageWidth = (font.pixelHeight * 6 + 5) / 11;
    return m;
  }
  m.ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  m.descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
  m.height = m.ascent + m.descent;
  int total = 0;
  for (char32_t c = U'A'; c <= U'Z'; ++c) total += Advance(f, font, c) + Advance(f, font, c + 32);
  m.averageWidth = (total + 26) / 52;
  return m;
}

bool IsCjk(char32_t c) { return (c >= 0x2E80 && c < 0xA000) || (c >= 0xF900 && c < 0xFB00) || (c >= 0xFF00 && c < 0xFFF0); }

}  // namespace

std::string WithoutMnemonics(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    else if (text[i] == '&') continue;
    out.push_back(text[i]);
  }
  return out;
}

int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

bool FontsAvailable() { return TheFaces().latin != nullptr; }

FontMetrics MeasureFont(const FontSpec& font) {
  Faces& f = TheFaces();
  std::lock_guard<std::mutex> lock(f.mutex);
  return MeasureLocked(f, font);
}

int TextWidth(const FontSpec& font, const std::string& text) {
  Faces& f = TheFaces();
  std::lock_guard<std::mutex> lock(f.mutex);
  if (!f.latin) return static_cast<int>(Decode(text).size()) * MeasureLocked(f, font).averageWidth;
  int width = 0;
  for (char32_t c : Decode(text)) width += Advance(f, font, c);
  return width;
}

void DrawTextLine(Surface& dst, int x, int y, const std::string& text, Pixel colour, const FontSpec& font,
                  const IntRect& clip) {
  Faces& f = TheFaces();
  std::lock_guard<std::mutex> lock(f.mutex);
  const int x0 = std::max(clip.x, 0), y0 = std::max(clip.y, 0);
  const int x1 = std::min(clip.x + clip.w, dst.width), y1 = std::min(clip.y + clip.h, dst.height);
  const int baseline = y + MeasureLocked(f, font).ascent;
  int pen = x;
  for (char32_t c : Decode(text)) {
    FT_Face face = FaceFor(f, font, c);
    if (!face || FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& b = g->bitmap;
    for (unsigned row = 0; row < b.rows; ++row)
      for (unsigned col = 0; col < b.width; ++col) {
        const int px = pen + g->bitmap_left + static_cast<int>(col);
        const int py = baseline - g->bitmap_top + static_cast<int>(row);
        if (px < x0 || py < y0 || px >= x1 || py >= y1) continue;
        const std::uint8_t coverage = b.buffer[row * static_cast<unsigned>(b.pitch) + col];
        if (coverage) dst.At(px, py) = Over(dst.At(px, py), colour, coverage);
      }
    pen += static_cast<int>((g->advance.x + 32) >> 6);
  }
}

std::vector<std::string> WrapText(const FontSpec& font, const std::string& text, int width) {
  // Break opportunities: after a space, and before and after a CJK character.
  std::vector<std::string> lines;
  std::u32string all = Decode(text), line, word;
  auto encode = [](const std::u32string& s) {
    std::u16string wide;
    for (char32_t c : s) {
      if (c >= 0x10000) {
        wide.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        wide.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
      } else {
        wide.push_back(static_cast<char16_t>(c));
      }
    }
    return text::EncodeUtf8(wide.data(), wide.size(), "?");
  };
  auto fits = [&](const std::u32string& s) { return TextWidth(font, encode(s)) <= width; };
  auto flushWord = [&] {
    if (word.empty()) return;
    std::u32string joined = line + word;
    if (!line.empty() && !fits(joined)) {
      while (!line.empty() && line.back() == U' ') line.pop_back();
      lines.push_back(encode(line));
      line.clear();
      while (!word.empty() && word.front() == U' ') word.erase(word.begin());
      line = word;
    } else {
      line = joined;
    }
    word.clear();
  };
  for (char32_t c : all) {
    if (c == U'\r') continue;
    if (c == U'\n') {
      flushWord();
      lines.push_back(encode(line));
      line.clear();
      continue;
    }
    if (IsCjk(c)) {
      flushWord();
      word.push_back(c);
      flushWord();
      continue;
    }
    word.push_back(c);
    if (c == U' ') flushWord();
  }
  flushWord();
  if (!line.empty() || lines.empty()) lines.push_back(encode(line));
  return lines;
}

}  // namespace orv::gfx
