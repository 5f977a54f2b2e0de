// Drawing dialogs and controls in the classic look, with the dialog font.
#include "platform/desktop/sim/classic_look.h"

#include <algorithm>
#include <string>

#include "platform/desktop/sim/menu.h"
#include "platform/gfx/sim/font.h"
#include "platform/ui/sim/icon.h"
#include "platform/ui/sim/look.h"

namespace orv::desktop {
namespace {

using gfx::Pixel;

constexpr Pixel kFace = 0xFFF0F0F0, kText = 0xFF000000, kGreyText = 0xFF838383, kWhite = 0xFFFFFFFF;
constexpr Pixel kFrame = 0xFF646464, kCaption = 0xFF2B579A, kCaptionText = 0xFFFFFFFF;
constexpr Pixel kButton = 0xFFE1E1E1, kButtonEdge = 0xFFADADAD, kDefaultEdge = 0xFF0078D7;
constexpr Pixel kPushed = 0xFFCCE4F7, kPushedEdge = 0xFF005499, kDisabledFace = 0xFFCCCCCC;
constexpr Pixel kEtchDark = 0xFFA0A0A0, kEditEdge = 0xFF7A7A7A;
constexpr int kCaptionHeight = 23;  // as the window manager's (platform/ui/sim)

const gfx::FontSpec kFont{gfx::PointsToPixels(8), false};

void Outline(gfx::Surface& f, const RECT& r, Pixel c, int width = 1) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  gfx::FillRect(f, r.left, r.top, w, width, c);
  gfx::FillRect(f, r.left, r.bottom - width, w, width, c);
  gfx::FillRect(f, r.left, r.top, width, h, c);
  gfx::FillRect(f, r.right - width, r.top, width, h, c);
}

void DottedOutline(gfx::Surface& f, const RECT& r, Pixel c) {
  for (int x = r.left; x < r.right; x += 2) {
    gfx::FillRect(f, x, r.top, 1, 1, c);
    gfx::FillRect(f, x, r.bottom - 1, 1, 1, c);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    gfx::FillRect(f, r.left, y, 1, 1, c);
    gfx::FillRect(f, r.right - 1, y, 1, 1, c);
  }
}

gfx::IntRect Clip(const RECT& r) { return gfx::IntRect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }

std::string Visible(const std::string& text, bool prefixes) { return prefixes ? gfx::WithoutMnemonics(text) : text; }

// Lines of text in the rectangle, broken to its width, each aligned.
void TextBlock(gfx::Surface& f, const RECT& r, const std::string& text, Pixel colour, bool centre) {
  const int width = r.right - r.left, line = gfx::MeasureFont(kFont).height;
  int y = r.top;
  for (const std::string& part : gfx::WrapText(kFont, text, width)) {
    const int x = centre ? r.left + (width - gfx::TextWidth(kFont, part)) / 2 : r.left;
    gfx::DrawTextLine(f, x, y, part, colour, kFont, Clip(r));
    y += line;
  }
}

void Icon(gfx::Surface& f, HICON icon, int x, int y) {
  ui::IconPixels pixels;
  if (!icon || !ui::IconImage(icon, 32, &pixels)) return;
  gfx::Surface picture(pixels.width, pixels.height);
  picture.pixels.assign(pixels.argb.begin(), pixels.argb.end());
  gfx::BlendRect(f, x, y, picture, 0, 0, picture.width, picture.height);
}

void Static(gfx::Surface& f, const ui::ControlLook& c) {
  const DWORD type = c.style & 0x1F;
  if (type == SS_ICON) return Icon(f, c.icon, c.rect.left, c.rect.top);
  TextBlock(f, c.rect, Visible(c.text, !(c.style & SS_NOPREFIX)), c.enabled ? kText : kGreyText,
            type == SS_CENTER);
}

void Button(gfx::Surface& f, const ui::ControlLook& c) {
  const DWORD type = c.style & 0x0F;
  if (type == BS_OWNERDRAW) return;  // its parent draws it
  const std::string text = Visible(c.text, true);
  const int line = gfx::MeasureFont(kFont).height;
  if (type == BS_GROUPBOX) {
    RECT box{c.rect.left, c.rect.top + line / 2, c.rect.right, c.rect.bottom};
    Outline(f, box, kEtchDark);
    Outline(f, RECT{box.left + 1, box.top + 1, box.right + 1, box.bottom + 1}, kWhite);
    Outline(f, box, kEtchDark);
    if (!text.empty()) {
      const int w = gfx::TextWidth(kFont, text);
      gfx::FillRect(f, c.rect.left + 6, c.rect.top, w + 4, line, kFace);
      gfx::DrawTextLine(f, c.rect.left + 8, c.rect.top, text, c.enabled ? kText : kGreyText, kFont, Clip(c.rect));
    }
    return;
  }
  const int w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
  Pixel face = !c.enabled ? kDisabledFace : c.pushed ? kPushed : kButton;
  gfx::FillRect(f, c.rect.left, c.rect.top, w, h, face);
  const bool isDefault = type == BS_DEFPUSHBUTTON;
  Outline(f, c.rect, !c.enabled ? kButtonEdge : c.pushed ? kPushedEdge : isDefault ? kDefaultEdge : kButtonEdge,
          isDefault && c.enabled ? 2 : 1);
  const int tw = gfx::TextWidth(kFont, text);
  const int shift = c.pushed ? 1 : 0;
  gfx::DrawTextLine(f, c.rect.left + (w - tw) / 2 + shift, c.rect.top + (h - line) / 2 + shift, text,
                    c.enabled ? kText : kGreyText, kFont, Clip(c.rect));
  if (c.focused) DottedOutline(f, RECT{c.rect.left + 3, c.rect.top + 3, c.rect.right - 3, c.rect.bottom - 3}, kText);
}

void Edit(gfx::Surface& f, const ui::ControlLook& c) {
  const int w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
  const bool readOnly = (c.style & ES_READONLY) != 0;
  gfx::FillRect(f, c.rect.left, c.rect.top, w, h, readOnly || !c.enabled ? kFace : kWhite);
  Outline(f, c.rect, c.focused ? kDefaultEdge : kEditEdge);
  const int line = gfx::MeasureFont(kFont).height;
  std::string text = (c.style & ES_PASSWORD) ? std::string(c.text.size(), '*') : c.text;
  RECT inner{c.rect.left + 3, c.rect.top + 1, c.rect.right - 3, c.rect.bottom - 1};
  // A line too long for the box shows its end, as an edit box scrolled to the caret.
  int x = inner.left, tw = gfx::TextWidth(kFont, text);
  if (tw > inner.right - inner.left - 2) x = inner.right - 2 - tw;
  const int y = c.rect.top + (h - line) / 2;
  gfx::DrawTextLine(f, x, y, text, c.enabled ? kText : kGreyText, kFont, Clip(inner));
  if (c.focused && !readOnly) gfx::FillRect(f, x + tw, y, 1, line, kText);
}

// A list box: its items are the lines of its text (the simulated list box keeps
// them so), the selected one marked by a leading tab.
void List(gfx::Surface& f, const ui::ControlLook& c) {
  const int w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
  gfx::FillRect(f, c.rect.left, c.rect.top, w, h, kWhite);
  Outline(f, c.rect, c.focused ? kDefaultEdge : kEditEdge);
  const int line = gfx::MeasureFont(kFont).height;
  int y = c.rect.top + 2;
  std::size_t start = 0;
  RECT inner{c.rect.left + 1, c.rect.top + 1, c.rect.right - 1, c.rect.bottom - 1};
  while (start <= c.text.size() && y < c.rect.bottom) {
    std::size_t end = c.text.find('\n', start);
    std::string item = c.text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const bool selected = !item.empty() && item[0] == '\t';
    if (selected) {
      item.erase(0, 1);
      gfx::FillRect(f, inner.left, y, inner.right - inner.left, line, kDefaultEdge);
    }
    if (!item.empty()) gfx::DrawTextLine(f, c.rect.left + 4, y, item, selected ? kWhite : kText, kFont, Clip(inner));
    y += line;
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

bool IsClass(const ui::ControlLook& c, const char* name) {
  std::string a = c.className, b = name;
  std::transform(a.begin(), a.end(), a.begin(), [](unsigned char ch) { return std::tolower(ch); });
  return a == b;
}

void Menu(gfx::Surface& f, const RECT& r, const MenuLook& menu) {
  gfx::FillRect(f, r.left, r.top, r.right - r.left, r.bottom - r.top, 0xFFF2F2F2);
  Outline(f, r, 0xFF979797);
  const int line = gfx::MeasureFont(kFont).height;
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItemLook& item = menu.items[i];
    const RECT& ir = item.rect;
    if (item.separator) {
      gfx::FillRect(f, ir.left + 26, (ir.top + ir.bottom) / 2, ir.right - ir.left - 28, 1, 0xFFD7D7D7);
      continue;
    }
    if (static_cast<int>(i) == menu.hot && item.enabled)
      gfx::FillRect(f, ir.left, ir.top, ir.right - ir.left, ir.bottom - ir.top, 0xFF91C9F7);
    gfx::DrawTextLine(f, ir.left + 25, ir.top + (ir.bottom - ir.top - line) / 2, Visible(item.text, true),
                      item.enabled ? kText : kGreyText, kFont, Clip(ir));
  }
}

}  // namespace

void DrawClassicWindow(gfx::Surface& frame, HWND hwnd, POINT origin) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return;
  // Every rectangle below is on the screen; the frame starts at origin.
  auto local = [&origin](RECT& rect) {
    rect.left -= origin.x, rect.right -= origin.x;
    rect.top -= origin.y, rect.bottom -= origin.y;
  };
  local(r);
  MenuLook menu;
  if (MenuLookOf(hwnd, &menu)) {
    for (MenuItemLook& item : menu.items) local(item.rect);
    return Menu(frame, r, menu);
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  gfx::FillRect(frame, r.left, r.top, w, h, kFace);
  if ((style & WS_CAPTION) == WS_CAPTION) {
    gfx::FillRect(frame, r.left, r.top, w, kCaptionHeight, kCaption);
    char title[256] = "";
    GetWindowTextA(hwnd, title, sizeof title);
    const int line = gfx::MeasureFont(kFont).height;
    RECT bar{r.left + 8, r.top, r.right - 8, r.top + kCaptionHeight};
    gfx::DrawTextLine(frame, bar.left, r.top + (kCaptionHeight - line) / 2, title, kCaptionText, kFont, Clip(bar));
  }
  if ((style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME)) || (style & WS_POPUP)) Outline(frame, r, kFrame);
  for (ui::ControlLook c : ui::ChildControls(hwnd)) {
    if (!c.visible) continue;
    local(c.rect);
    if (IsClass(c, "static")) Static(frame, c);
    else if (IsClass(c, "button")) Button(frame, c);
    else if (IsClass(c, "edit")) Edit(frame, c);
    else if (IsClass(c, "listbox")) List(frame, c);
  }
}

}  // namespace orv::desktop
