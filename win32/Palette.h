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
                   kHighlightText = 14, kFace = 15, kShadow = 16, kButtonText = 18, kHilight = 20,
                   kInfoText = 23, kInfoBack = 24;
}  // namespace syscolour

struct Palette {
  bool dark;                       // the program draws what Windows would draw light
  Shade face, text;                // the windows, frames and labels
  Shade input, inputText;          // the input boxes
  Shade result, resultText;        // the result boxes
  Shade button, buttonText;        // push buttons at rest
  Shade buttonHot, buttonPressed;  // under the pointer, held down
  Shade buttonEdge;                // a push button's outline
  Shade hilight, shadow;           // the etched lines of frames and rules
  Shade menu, menuText, menuHot;   // menu bar and menus
  Shade tip, tipText;              // tooltips
};

inline constexpr Palette kSystemPalette{false,
                                        SystemShade(syscolour::kFace),
                                        SystemShade(syscolour::kButtonText),
                                        SystemShade(syscolour::kWindow),
                                        SystemShade(syscolour::kWindowText),
                                        SystemShade(syscolour::kMenu),
                                        SystemShade(syscolour::kMenuText),
                                        SystemShade(syscolour::kFace),
                                        SystemShade(syscolour::kButtonText),
                                        SystemShade(syscolour::kFace),
                                        SystemShade(syscolour::kFace),
                                        SystemShade(syscolour::kShadow),
                                        SystemShade(syscolour::kHilight),
                                        SystemShade(syscolour::kShadow),
                                        SystemShade(syscolour::kMenu),
                                        SystemShade(syscolour::kMenuText),
                                        SystemShade(syscolour::kHighlight),
                                        SystemShade(syscolour::kInfoBack),
                                        SystemShade(syscolour::kInfoText)};

inline constexpr Palette kDarkPalette{true,
                                      FixedShade(32, 32, 32),
                                      FixedShade(255, 255, 255),  // face, text
                                      FixedShade(44, 44, 44),
                                      FixedShade(255, 255, 255),  // input
                                      FixedShade(64, 64, 64),
                                      FixedShade(255, 255, 255),  // result
                                      FixedShade(55, 55, 55),
                                      FixedShade(255, 255, 255),  // button
                                      FixedShade(69, 69, 69),
                                      FixedShade(40, 40, 40),     // hot, pressed
                                      FixedShade(110, 110, 110),  // button edge
                                      FixedShade(80, 80, 80),
                                      FixedShade(12, 12, 12),  // lines
                                      FixedShade(43, 43, 43),
                                      FixedShade(255, 255, 255),  // menu
                                      FixedShade(65, 65, 65),     // menu hot
                                      FixedShade(43, 43, 43),
                                      FixedShade(255, 255, 255)};  // tooltip

// The palette for the session. `appsUseLightTheme` is the user's choice as
// Windows keeps it (0: dark); empty when it is missing or cannot be read,
// which counts as light. High contrast comes first, whatever the choice.
constexpr const Palette& ChoosePalette(bool highContrast,
                                       std::optional<unsigned long> appsUseLightTheme) {
  if (highContrast) return kSystemPalette;
  return appsUseLightTheme == 0ul ? kDarkPalette : kSystemPalette;
}

}  // namespace quorvane::win32
