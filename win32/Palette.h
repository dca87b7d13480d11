// The colours both windows are drawn in, chosen in one place from two facts:
// whether high contrast is on, and whether the user chose dark for apps.
// High contrast and light mode draw in Windows' own system colours, as the
// program always has; dark mode in fixed colours close to Windows 11's dark
// surfaces. Free of Windows headers, so that the choice is tested natively.
#pragma once

#include <optional>

namespace quorvane::win32 {

// A colour of the palette: one of Windows' system colours by its index
// (COLOR_3DFACE...), or a fixed colour as 0x00BBGGRR.
struct Shade {
  bool system;
  unsigned value;
  friend constexpr bool operator==(const Shade&, const Shade&) = default;
};

constexpr Shade SystemShade(unsigned index) { return {true, index}; }
constexpr Shade FixedShade(unsigned r, unsigned g, unsigned b) {
  return {false, r | (g << 8) | (b << 16)};
}

// Windows' system colour indices the palette uses (winuser.h).
namespace syscolour {
constexpr unsigned kMenu = 4, kWindow = 5, kMenuText = 7, kWindowText = 8, kHighlight = 13,
                   kHighlightText = 14, kFace = 15, kShadow = 16, kGrayText = 17, kButtonText = 18,
                   kHilight = 20, kInfoText = 23, kInfoBack = 24;
}  // namespace syscolour

struct Palette {
  bool dark;                       // the program draws what Windows would draw light
  Shade face, text;                // the windows, frames and labels
  Shade disabledText;              // the caption of a control that is disabled
  Shade input, inputText;          // the input boxes
  Shade result, resultText;        // the result boxes
  Shade button, buttonText;        // push buttons at rest
  Shade buttonHot, buttonPressed;  // under the pointer, held down
  Shade buttonEdge;                // a push button's outline
  Shade hilight, shadow;           // the etched lines of frames and rules
  Shade menu, menuText, menuHot;   // menu bar and menus
  Shade tip, tipText;              // tooltips
};

inline constexpr Palette kSystemPalette{
    .dark = false,
    .face = SystemShade(syscolour::kFace),
    .text = SystemShade(syscolour::kButtonText),
    .disabledText = SystemShade(syscolour::kGrayText),
    .input = SystemShade(syscolour::kWindow),
    .inputText = SystemShade(syscolour::kWindowText),
    .result = SystemShade(syscolour::kMenu),
    .resultText = SystemShade(syscolour::kMenuText),
    .button = SystemShade(syscolour::kFace),
    .buttonText = SystemShade(syscolour::kButtonText),
    .buttonHot = SystemShade(syscolour::kFace),
    .buttonPressed = SystemShade(syscolour::kFace),
    .buttonEdge = SystemShade(syscolour::kShadow),
    .hilight = SystemShade(syscolour::kHilight),
    .shadow = SystemShade(syscolour::kShadow),
    .menu = SystemShade(syscolour::kMenu),
    .menuText = SystemShade(syscolour::kMenuText),
    .menuHot = SystemShade(syscolour::kHighlight),
    .tip = SystemShade(syscolour::kInfoBack),
    .tipText = SystemShade(syscolour::kInfoText),
};

inline constexpr Palette kDarkPalette{
    .dark = true,
    .face = FixedShade(32, 32, 32),
    .text = FixedShade(255, 255, 255),
    .disabledText = FixedShade(120, 120, 120),
    .input = FixedShade(44, 44, 44),
    .inputText = FixedShade(255, 255, 255),
    .result = FixedShade(64, 64, 64),
    .resultText = FixedShade(255, 255, 255),
    .button = FixedShade(55, 55, 55),
    .buttonText = FixedShade(255, 255, 255),
    .buttonHot = FixedShade(69, 69, 69),
    .buttonPressed = FixedShade(40, 40, 40),
    .buttonEdge = FixedShade(110, 110, 110),
    .hilight = FixedShade(80, 80, 80),
    .shadow = FixedShade(12, 12, 12),
    .menu = FixedShade(43, 43, 43),
    .menuText = FixedShade(255, 255, 255),
    .menuHot = FixedShade(65, 65, 65),
    .tip = FixedShade(43, 43, 43),
    .tipText = FixedShade(255, 255, 255),
};

// The palette for the session. `appsUseLightTheme` is the user's choice as
// Windows keeps it (0: dark); empty when it is missing or cannot be read,
// which counts as light. High contrast comes first, whatever the choice.
constexpr const Palette& ChoosePalette(bool highContrast,
                                       std::optional<unsigned long> appsUseLightTheme) {
  if (highContrast) return kSystemPalette;
  return appsUseLightTheme == 0ul ? kDarkPalette : kSystemPalette;
}

}  // namespace quorvane::win32
