// What a window's tables say about its controls and fonts, for every window
// built with ControlSet. No Windows headers, so native tests check the tables.
#pragma once

namespace quorvane {

enum class Kind { TextBox, Label, Button, DefaultButton, Frame, Option, Picture };

struct FontRow {
  const wchar_t* face;
  int pointsX100;  // 8.25 pt is 825
  bool bold;
};

// One control. Id is the window's own enum of control ids (0 is none) and
// FontId indexes its font table.
template <class Id, class FontId>
struct ControlRowOf {
  Id id;
  const wchar_t* name;
  Kind kind;
  Id container;                  // Id{}: the window's client area
  int left, top, width, height;  // twips, from the container's client area
  const wchar_t* caption;
  FontId font = FontId{};
  bool grey = false;        // COLOR_MENU background
  bool rightAlign = false;  // right-justified label
  const wchar_t* tooltip = nullptr;
  // What a screen reader calls the control; nullptr keeps the name Windows
  // gives it (a button or label by its caption, a box by the label before it).
  const wchar_t* accessibleName = nullptr;
  // A label that breaks its own caption into lines: owner-drawn, painted by
  // its window.
  bool ownLines = false;
};

// Twips to pixels at a given dpi, as Windows' MulDiv rounds (half away from 0).
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long n = static_cast<long long>(twips) * dpi;
  return static_cast<int>(n >= 0 ? (n + 720) / 1440 : -((-n + 720) / 1440));
}

}  // namespace quorvane
