// A window's colours as the palette gives them, with the brushes they need,
// and what the program draws itself in dark mode: push and option buttons,
// frames, menus, tooltips and the title bar. In light mode and in high
// contrast none of the drawing here runs: Windows draws as it always has.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win32/Owned.h"
#include "win32/Palette.h"

namespace quorvane::win32 {

// The palette the user's settings call for now: high contrast
// (SPI_GETHIGHCONTRAST) and the app mode the user chose.
const Palette& UserPalette();

class WindowColours {
 public:
  // Takes `palette`, with a brush made for each of its fixed colours.
  explicit WindowColours(const Palette& palette = kSystemPalette);
  const Palette& palette() const { return *palette_; }
  bool Dark() const { return palette_->dark; }
  COLORREF Colour(Shade s) const;
  HBRUSH Brush(Shade s) const;
  // As a WM_CTLCOLOR* answer: `text` on `back` in `dc`, and back's brush.
  LRESULT Answer(HDC dc, Shade text, Shade back) const;

 private:
  const Palette* palette_;
  std::vector<std::pair<Shade, OwnedBrush>> brushes_;
};

// The colours of the top-level window that holds `control`, or null.
const WindowColours* ColoursOf(HWND control);
void SetColoursOf(HWND window, const WindowColours* colours);

// A push or option button drawn in the dark palette, as NM_CUSTOMDRAW asks.
LRESULT DrawButton(const NMCUSTOMDRAW& draw, const WindowColours& colours);
// A frame's background and etched lines in the dark palette.
void PaintFrame(HWND frame, HDC dc, const WindowColours& colours);
// The title bar dark or light; Windows that cannot are left as they are.
void SetDarkTitleBar(HWND window, bool dark);
// A tooltip in the palette's colours: unthemed with them when dark, themed
// again when not.
void ColourTooltip(HWND tip, const WindowColours& colours, bool wasDark);

// The menu bar and its menus drawn by the program when dark: each item
// owner-drawn, its caption kept for screen readers.
class MenuColours {
 public:
  // Owner-draws every item of `bar` and its menus on the dark palette, or
  // gives them back to Windows in any other.
  void Apply(HMENU bar, const WindowColours& colours);
  bool Measure(HWND window, MEASUREITEMSTRUCT& item) const;
  bool Draw(const DRAWITEMSTRUCT& item, const WindowColours& colours) const;

 private:
  struct Item {
    MSAAMENUINFO accessible;  // first, where screen readers look for it
    std::wstring caption;
    bool onBar;
  };
  void OwnerDraw(HMENU menu, bool onBar);
  void GiveBack(HMENU menu);

  std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace quorvane::win32
