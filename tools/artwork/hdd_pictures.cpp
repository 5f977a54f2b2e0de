// Layout and colours of the HDD dialog's pictures.
#include "tools/artwork/hdd_pictures.h"

#include <cstring>

#include "platform/gfx/sim/font.h"
#include "tools/artwork/glyphs.h"
#include "tools/artwork/painter.h"

namespace orv::artwork {
namespace {

constexpr std::uint32_t kPanelTop = 0xFF2A5FA8, kPanelBottom = 0xFF173A6E, kPanelEdge = 0xFF9CC4F0;
constexpr std::uint32_t kWarning = 0xFFFFC629, kWhite = 0xFFFFFFFF, kDisk = 0xFFD5DCE4, kOff = 0xFFE5534B;
constexpr std::uint32_t kFaceTop = 0xFF4FA3F0, kFaceBottom = 0xFF1F66C2;

const char* kQuestionEnglish =
    "Proceeding turns the hard disk off for a while, turns ECO mode on and leaves all work to the SSD. "
    "Do you wish to continue?";
const char* kQuestionChinese = "繼續執行將暫時關閉硬碟，並開啟 ECO 模式，所有工作將交由 SSD 處理。您確定要繼續嗎？";

void WarningSign(Painter& p, float x, float y, float size) {
  p.Polygon({{x + size / 2, y}, {x + size, y + size * 0.88f}, {x, y + size * 0.88f}});
  p.Fill(kWarning);
  p.Line({x + size / 2, y + size * 0.28f}, {x + size / 2, y + size * 0.58f}, size * 0.09f);
  p.Circle(x + size / 2, y + size * 0.72f, size * 0.055f);
  p.Fill(0xFF202020);
}

void Disk(Painter& p, float cx, float cy, bool off) {
  p.RoundRect(cx - 34, cy - 24, 68, 48, 8);
  p.Fill(off ? 0xFF8E949A : kDisk);
  p.Ring(cx - 4, cy - 2, 14, 3);
  p.Circle(cx - 4, cy - 2, 3);
  p.Line({cx + 16, cy + 14}, {cx + 26, cy + 14}, 3);
  p.Fill(0xFF3A4A5E);
  if (!off) return;
  p.Line({cx - 30, cy + 26}, {cx + 30, cy - 26}, 5);
  p.Fill(kOff);
}

}  // namespace

gfx::Surface HddBackground(bool chinese) {
  gfx::Surface s(510, 288, kHddKeyColour);
  Painter p(s);
  p.RoundRect(6, 6, 498, 276, 30);
  p.FillGradient(kPanelTop, kPanelBottom, 6, 282);
  p.RoundFrame(6, 6, 498, 276, 30, 2);
  p.Fill(kPanelEdge);
  WarningSign(p, 34, 30, 70);
  const gfx::FontSpec font{chinese ? 17 : 15, true};
  const int line = gfx::MeasureFont(font).height + 2;
  int y = 34;
  for (const std::string& part : gfx::WrapText(font, chinese ? kQuestionChinese : kQuestionEnglish, 360)) {
    gfx::DrawTextLine(s, 124, y, part, gfx::Premultiply(kWhite), font, gfx::IntRect{120, 20, 370, 130});
    y += line;
  }
  Disk(p, 170, 160, false);
  p.Polygon({{230, 152}, {262, 152}, {262, 144}, {280, 160}, {262, 176}, {262, 168}, {230, 168}});
  p.Fill(kWhite);
  Disk(p, 340, 160, true);
  return s;
}

gfx::Surface HddFace(bool yes, bool chinese) {
  gfx::Surface s(120, 53);
  Painter p(s);
  p.RoundRect(1, 1, 118, 51, 16);
  p.FillGradient(kFaceTop, kFaceBottom, 1, 52);
  p.RoundFrame(1, 1, 118, 51, 16, 1.5f);
  p.Fill(0xC0FFFFFF);
  const char* word = chinese ? (yes ? "是" : "否") : (yes ? "Yes" : "No");
  const gfx::FontSpec font{chinese ? 22 : 20, true};
  const int w = gfx::TextWidth(font, word), h = gfx::MeasureFont(font).height;
  gfx::DrawTextLine(s, (120 - w) / 2, (53 - h) / 2, word, gfx::Premultiply(kWhite), font, gfx::IntRect{0, 0, 120, 53});
  return s;
}

std::vector<unsigned char> EncodeBmp24(const gfx::Surface& picture) {
  const int stride = (picture.width * 3 + 3) / 4 * 4;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(stride * picture.height);
  std::vector<unsigned char> out(54 + imageSize, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&out[at], &v, 4); };
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&out[at], &v, 2); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(picture.width));
  put32(22, static_cast<std::uint32_t>(picture.height));  // positive: bottom-up
  put16(26, 1);
  put16(28, 24);
  put32(34, imageSize);
  put32(38, 3780);  // 96 dots per inch
  put32(42, 3780);
  for (int y = 0; y < picture.height; ++y) {
    unsigned char* row = &out[54 + static_cast<std::size_t>(picture.height - 1 - y) * stride];
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t c = gfx::Unpremultiply(picture.At(x, y));
      row[x * 3] = c & 0xFF;
      row[x * 3 + 1] = (c >> 8) & 0xFF;
      row[x * 3 + 2] = (c >> 16) & 0xFF;
    }
  }
  return out;
}

}  // namespace orv::artwork
