// The one way a window gets its controls: created from the window's table in
// tab order, each in place with its font, tooltip and group; scaled again
// when the dpi changes; found by id. Only the tables differ between windows.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "win32/Owned.h"
#include "win32/WindowTable.h"

namespace quorvane::win32 {

// The fonts of a font table made at one dpi, owned together.
class FontSet {
 public:
  FontSet() = default;
  FontSet(std::span<const FontRow> rows, int dpi);
  HFONT operator[](int index) const { return fonts_[static_cast<size_t>(index)].get(); }

 private:
  std::vector<OwnedFont> fonts_;
};

// One control's row without its window's own types.
struct ControlShape {
  int id;
  Kind kind;
  int container;  // 0: the window's client area
  int left, top, width, height;
  const wchar_t* caption;
  int font;
  bool rightAlign;
  const wchar_t* tooltip;
  const wchar_t* accessibleName;
  bool ownLines;
};

template <class Row>
ControlShape ShapeOf(const Row& r) {
  return {static_cast<int>(r.id),
          r.kind,
          static_cast<int>(r.container),
          r.left,
          r.top,
          r.width,
          r.height,
          r.caption,
          static_cast<int>(r.font),
          r.rightAlign,
          r.tooltip,
          r.accessibleName,
          r.ownLines};
}

class ControlSet {
 public:
  // Creates the controls of the table `rows` in `window` at `dpi`, in table
  // order, with fonts from the table `fonts`. Both tables outlive the set.
  // False when a control cannot be made.
  template <class Rows>
  bool Create(HWND window, const Rows& rows, std::span<const FontRow> fonts, int dpi) {
    std::vector<ControlShape> shapes;
    for (const auto& r : rows) shapes.push_back(ShapeOf(r));
    return CreateAll(window, shapes, fonts, dpi);
  }
  // Places and sizes every control at `dpi` with fonts made for it. The new
  // fonts are handed out before the old ones go: no control ever holds a
  // deleted font.
  void Scale(int dpi);

  HWND Find(int id) const;
  template <class Id>
  HWND operator[](Id id) const {
    return Find(static_cast<int>(id));
  }
  // The table index of a control of this set, or -1.
  int IndexOf(HWND control) const;
  HWND Tooltip() const { return tooltip_; }
  HFONT Font(int font) const { return fonts_[font]; }
  // WM_ACTIVATE, as in a dialog: the focus leaves with the window and comes
  // back to the control that had it, at first to `first`. True when the
  // focus was set, so the system must not set it again.
  bool KeepFocus(HWND window, WPARAM activation, HWND first);
  // The window is gone, and its controls with it.
  void Forget();

 private:
  bool CreateAll(HWND window, std::span<const ControlShape> shapes, std::span<const FontRow> fonts,
                 int dpi);
  HWND CreateOne(HWND window, const ControlShape& c, bool startsGroup, int dpi);

  std::vector<ControlShape> shapes_;
  std::vector<HWND> handles_;
  std::span<const FontRow> fontRows_;
  FontSet fonts_;
  HWND tooltip_ = nullptr;  // owned by the window, destroyed with it
  HWND lastFocus_ = nullptr;
};

// The dpi `window` is shown at.
int DpiOf(HWND window);

// Shows `bitmap` in a picture control, stretched to its client area. The
// caller keeps the bitmap alive while the control shows it.
void SetPicture(HWND picture, HBITMAP bitmap);

}  // namespace quorvane::win32
