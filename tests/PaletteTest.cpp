// The palette both windows are drawn in: high contrast first, then the
// user's app mode, and every text readable on its background in dark mode.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "win32/Palette.h"

namespace quorvane::win32 {
namespace {

TEST(Palette, HighContrastFirstThenTheAppMode) {
  struct Row {
    bool highContrast;
    std::optional<unsigned long> appsUseLightTheme;
    bool dark;
  } rows[] = {
      {false, 0ul, true}, {false, 1ul, false}, {false, std::nullopt, false}, {false, 2ul, false},
      {true, 0ul, false}, {true, 1ul, false},  {true, std::nullopt, false},
  };
  for (const Row& r : rows) {
    const Palette& p = ChoosePalette(r.highContrast, r.appsUseLightTheme);
    EXPECT_EQ(p.dark, r.dark) << r.highContrast << " " << r.appsUseLightTheme.value_or(99);
    // Outside dark mode every colour is the system's own, as before.
    if (!r.dark) {
      EXPECT_EQ(&p, &kSystemPalette);
    }
  }
}

// WCAG 2.x relative luminance of a 0x00BBGGRR colour.
double Luminance(unsigned c) {
  const auto channel = [](unsigned v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) +
         0.0722 * channel((c >> 16) & 0xFF);
}

double Contrast(Shade a, Shade b) {
  const double la = Luminance(a.value), lb = Luminance(b.value);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(Palette, EveryDarkTextIsReadableOnItsBackground) {
  const Palette& p = kDarkPalette;
  struct Pair {
    const char* what;
    Shade text, back;
  } pairs[] = {
      {"labels", p.text, p.face},
      {"inputs", p.inputText, p.input},
      {"results", p.resultText, p.result},
      {"buttons", p.buttonText, p.button},
      {"button under the pointer", p.buttonText, p.buttonHot},
      {"button held down", p.buttonText, p.buttonPressed},
      {"menus", p.menuText, p.menu},
      {"menu item lit", p.menuText, p.menuHot},
      {"tooltips", p.tipText, p.tip},
  };
  for (const Pair& pair : pairs) {
    EXPECT_GE(Contrast(pair.text, pair.back), 4.5) << pair.what;
  }
  // The result boxes stay apart from the inputs, as in light mode.
  EXPECT_NE(p.result, p.input);
}

}  // namespace
}  // namespace quorvane::win32
