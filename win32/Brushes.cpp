#include "win32/Brushes.h"

namespace quorvane::win32 {
namespace {

static_assert(syscolour::kMenu == COLOR_MENU && syscolour::kWindow == COLOR_WINDOW &&
              syscolour::kMenuText == COLOR_MENUTEXT &&
              syscolour::kWindowText == COLOR_WINDOWTEXT &&
              syscolour::kHighlight == COLOR_HIGHLIGHT &&
              syscolour::kHighlightText == COLOR_HIGHLIGHTTEXT &&
              syscolour::kFace == COLOR_3DFACE && syscolour::kShadow == COLOR_3DSHADOW &&
              syscolour::kGrayText == COLOR_GRAYTEXT && syscolour::kButtonText == COLOR_BTNTEXT &&
              syscolour::kHilight == COLOR_3DHILIGHT && syscolour::kInfoText == COLOR_INFOTEXT &&
              syscolour::kInfoBack == COLOR_INFOBK);

constexpr wchar_t kColoursProperty[] = L"QuorvaneColours";

}  // namespace

WindowColours::WindowColours(const Palette& palette) : palette_(&palette) {
  const Shade all[] = {
      palette.face,       palette.text,      palette.disabledText,  palette.input,
      palette.inputText,  palette.result,    palette.resultText,    palette.button,
      palette.buttonText, palette.buttonHot, palette.buttonPressed, palette.buttonEdge,
      palette.hilight,    palette.shadow,    palette.menu,          palette.menuText,
      palette.menuHot,    palette.tip,       palette.tipText};
  for (const Shade& s : all) {
    if (s.system || Brush(s)) continue;
    brushes_.emplace_back(s, OwnedBrush(CreateSolidBrush(s.value)));
  }
}

COLORREF WindowColours::Colour(Shade s) const {
  return s.system ? GetSysColor(static_cast<int>(s.value)) : s.value;
}

HBRUSH WindowColours::Brush(Shade s) const {
  if (s.system) return GetSysColorBrush(static_cast<int>(s.value));
  for (const auto& [shade, brush] : brushes_) {
    if (shade == s) return brush.get();
  }
  return nullptr;
}

LRESULT WindowColours::Answer(HDC dc, Shade text, Shade back) const {
  SetTextColor(dc, Colour(text));
  SetBkColor(dc, Colour(back));
  return reinterpret_cast<LRESULT>(Brush(back));
}

const WindowColours* ColoursOf(HWND control) {
  return static_cast<const WindowColours*>(
      GetPropW(GetAncestor(control, GA_ROOT), kColoursProperty));
}

void SetColoursOf(HWND window, const WindowColours* colours) {
  if (colours) {
    SetPropW(window, kColoursProperty, const_cast<WindowColours*>(colours));
  } else {
    RemovePropW(window, kColoursProperty);
  }
}

}  // namespace quorvane::win32
