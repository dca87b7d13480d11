// A window's colours as the palette gives them, with the brushes they need,
// and the window property through which its controls find them.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "win32/Owned.h"
#include "win32/Palette.h"

namespace quorvane::win32 {

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
// Puts `colours` on `window` for its controls to find (null: takes them off).
void SetColoursOf(HWND window, const WindowColours* colours);

}  // namespace quorvane::win32
