// Layout and colours of the OSD's pictures.
#include "tools/artwork/pictures.h"

#include <algorithm>

#include "tools/artwork/font.h"
#include "tray/osd/osd_bar_geometry.h"

namespace orv::artwork {
namespace {

constexpr std::uint32_t kPanel = 0xD81C2026;
constexpr std::uint32_t kPanelEdge = 0x50FFFFFF;
constexpr std::uint32_t kGrey = 0xFF8E949A;
constexpr std::uint32_t kText = 0xFFF2F4F6;
constexpr std::uint32_t kOn = 0xFF5BD36B;
constexpr std::uint32_t kOff = 0xFFE5534B;
constexpr std::uint32_t kTrack = 0xFF363C44;
constexpr std::uint32_t kFillTop = 0xFF5CC8FF;
constexpr std::uint32_t kFillBottom = 0xFF1E7FD8;

std::uint32_t Accent(Symbol s) {
  switch (s) {
    case Symbol::Wireless: return 0xFF45B8FF;
    case Symbol::Bluetooth: return 0xFF4A86FF;
    case Symbol::TouchPad: return 0xFF4FD6A0;
    case Symbol::WebCam: return 0xFF42D4E0;
    case Symbol::Turbo: return 0xFFFFB020;
    case Symbol::Eco: return 0xFF66CF52;
    case Symbol::ThreeG: return 0xFF8C95FF;
    case Symbol::Hdd: return 0xFF58C4F4;
    case Symbol::Theater: return 0xFFFF8A50;
    default: return kText;
  }
}

void Panel(Painter& p, float w, float h, float radius, std::uint32_t colour = kPanel) {
  p.RoundRect(1, 1, w - 2, h - 2, radius);
  p.Fill(colour);
  p.RoundFrame(1, 1, w - 2, h - 2, radius, 1.5f);
  p.Fill(kPanelEdge);
}

void Track(Painter& p, float x, float y, float w, float h, float fraction, std::uint32_t fill) {
  p.RoundRect(x, y, w, h, h / 2);
  p.Fill(kTrack);
  if (fraction <= 0) return;
  p.RoundRect(x, y, std::max(h, w * fraction), h, h / 2);
  p.Fill(fill);
}

}  // namespace

gfx::Surface DeviceIcon(Symbol symbol, bool enabled) {
  gfx::Surface s(120, 120);
  Painter p(s);
  Panel(p, 120, 120, 18);
  DrawSymbol(p, symbol, 60, 50, 0.72f);
  p.Fill(enabled ? Accent(symbol) : kGrey);
  if (!enabled) DrawStrike(p, 60, 50, 0.72f);
  TextCentred(p, enabled ? "ON" : "OFF", 60, 93, 15, 2.6f);
  p.Fill(enabled ? kOn : kOff);
  return s;
}

gfx::Surface VolumePicture(int n, bool muted) {
  gfx::Surface s(120, 120);
  Painter p(s);
  Panel(p, 120, 120, 18);
  DrawSymbol(p, muted ? Symbol::SpeakerMuted : Symbol::Speaker, 62, 40, 0.62f);
  p.Fill(muted ? kGrey : kText);
  TextCentred(p, muted ? "MUTE" : std::to_string(n * 2), 60, 68, 16, 2.6f);
  p.Fill(muted ? kOff : kText);
  Track(p, 16, 96, 88, 10, n / 50.0f, muted ? kGrey : Accent(Symbol::Wireless));
  return s;
}

gfx::Surface BrightnessPicture(int step) {
  gfx::Surface s(120, 120);
  Painter p(s);
  Panel(p, 120, 120, 18);
  DrawSymbol(p, Symbol::Sun, 60, 40, 0.6f);
  p.Fill(0xFFFFD54A);
  TextCentred(p, std::to_string(step), 60, 68, 16, 2.6f);
  p.Fill(kText);
  for (int i = 0; i < 8; ++i) {
    p.RoundRect(16 + i * 11.2f, 95, 9, 12, 2);
    p.Fill(i < step ? 0xFFFFD54A : kTrack);
  }
  return s;
}

gfx::Surface CenterPicture(Symbol symbol, bool enabled, const std::string& name) {
  gfx::Surface s(320, 200);
  Painter p(s);
  Panel(p, 320, 200, 26);
  DrawSymbol(p, symbol, 160, 78, 1.05f);
  p.Fill(enabled ? Accent(symbol) : kGrey);
  if (!enabled) DrawStrike(p, 160, 78, 1.05f);
  float height = std::min(24.0f, 24.0f * 280.0f / TextWidth(name, 24));
  TextCentred(p, name, 160, 160 - height / 2, height, height / 7);
  p.Fill(enabled ? kText : 0xFFB8BEC4);
  return s;
}

// The bar's panel is opaque: the display draws the background twice for an
// empty bar and the filled picture over it, which must not darken a see-through
// panel.
gfx::Surface BarBackground() {
  gfx::Surface s(500, kBarHeight);
  Painter p(s);
  Panel(p, 500, kBarHeight, 20, kPanel | 0xFF000000u);
  Track(p, kBarScaleStart, kBarCapTop, kBarScaleLength, kBarCapHeight, 0, 0);
  return s;
}

// Only the filled groove: drawn over the background up to the fill's end.
gfx::Surface BarFilled() {
  gfx::Surface s(500, kBarHeight);
  Painter p(s);
  p.RoundRect(kBarScaleStart, kBarCapTop, kBarScaleLength, kBarCapHeight, kBarCapHeight / 2.0f);
  p.FillGradient(kFillTop, kFillBottom, kBarCapTop, kBarCapTop + kBarCapHeight);
  return s;
}

gfx::Surface BarCap() {
  // The filled bar's rounded right end: drawn at x = a it ends the fill at a + 13.
  gfx::Surface s(kBarCapWidth, kBarCapHeight);
  Painter p(s);
  p.RoundRect(kBarCapWidth - 40.0f, 0, 40, kBarCapHeight, kBarCapHeight / 2.0f);
  p.FillGradient(kFillTop, kFillBottom, 0, kBarCapHeight);
  return s;
}

gfx::Surface BarIcon(Symbol symbol) {
  gfx::Surface s(60, 60);
  Painter p(s);
  DrawSymbol(p, symbol, 32, 30, 0.6f);
  p.Fill(symbol == Symbol::Sun ? 0xFFFFD54A : kText);
  return s;
}

}  // namespace orv::artwork
