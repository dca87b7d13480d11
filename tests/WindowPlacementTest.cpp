// Where a window opens: at its designed place where it fits whole inside the
// work area of its monitor, else moved into it as little as it must, at the
// monitor's dpi, the client area always at its designed size.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/Form1Layout.h"
#include "win32/WindowPlacement.h"

namespace quorvane {
namespace {

// Pixels from twips, computed here on its own, rounded to nearest.
int Px(int twips, int dpi) { return static_cast<int>(std::floor(twips * dpi / 1440.0 + 0.5)); }

// A sizable frame with a title bar and one menu line, as at 96 dpi scaled.
FrameMargins FrameAt(int dpi) { return {8 * dpi / 96, 51 * dpi / 96, 8 * dpi / 96, 8 * dpi / 96}; }

enum class Where { Designed, AgainstBottom, AgainstRight, AgainstBottomRight, AtWorkTopLeft };

struct Row {
  const char* name;
  int dpi;
  ScreenRect work;
  Where where;
};

TEST(WindowPlacement, OnTheScreenAtEveryScale) {
  const DesignedClient form1{kDesignedLeftTwips, kDesignedTopTwips, kClientWidthTwips,
                             kClientHeightTwips};
  const Row rows[] = {
      {"fits", 96, {0, 0, 1920, 1040}, Where::Designed},
      {"crosses the bottom edge (1366 x 768, 125%)", 120, {0, 0, 1366, 728}, Where::AgainstBottom},
      {"crosses the right edge", 96, {0, 0, 800, 1040}, Where::AgainstRight},
      {"crosses both (1280 x 1024, 175%)", 168, {0, 0, 1280, 984}, Where::AgainstBottomRight},
      {"larger than the work area", 192, {0, 0, 1024, 738}, Where::AtWorkTopLeft},
      {"work area at a negative origin", 96, {-1920, 0, 0, 1040}, Where::AgainstRight},
      {"work area above and left", 120, {-1280, -1024, 0, 0}, Where::AgainstBottomRight},
      {"120 dpi", 120, {0, 0, 1920, 1040}, Where::Designed},
      {"144 dpi", 144, {0, 0, 1920, 1040}, Where::Designed},
      {"168 dpi", 168, {0, 0, 1920, 1040}, Where::AgainstBottom},
      {"192 dpi", 192, {0, 0, 1920, 1040}, Where::AgainstBottom},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const FrameMargins f = FrameAt(r.dpi);
    const ScreenRect w = PlaceWindow(form1, f, r.work, r.dpi);
    EXPECT_EQ(w.right - w.left, f.left + Px(kClientWidthTwips, r.dpi) + f.right);
    EXPECT_EQ(w.bottom - w.top, f.top + Px(kClientHeightTwips, r.dpi) + f.bottom);
    const int left = Px(kDesignedLeftTwips, r.dpi) - f.left;
    const int top = Px(kDesignedTopTwips, r.dpi) - f.top;
    switch (r.where) {
      case Where::Designed:
        EXPECT_EQ(w.left, left);
        EXPECT_EQ(w.top, top);
        break;
      case Where::AgainstBottom:
        EXPECT_EQ(w.left, left);
        EXPECT_EQ(w.bottom, r.work.bottom);
        break;
      case Where::AgainstRight:
        EXPECT_EQ(w.right, r.work.right);
        EXPECT_EQ(w.top, top);
        break;
      case Where::AgainstBottomRight:
        EXPECT_EQ(w.right, r.work.right);
        EXPECT_EQ(w.bottom, r.work.bottom);
        break;
      case Where::AtWorkTopLeft:
        EXPECT_EQ(w.left, r.work.left);
        EXPECT_EQ(w.top, r.work.top);
        break;
    }
    // Whole inside the work area wherever it fits; its title bar always.
    if (r.where != Where::AtWorkTopLeft) {
      EXPECT_TRUE(w.left >= r.work.left && w.right <= r.work.right && w.top >= r.work.top &&
                  w.bottom <= r.work.bottom);
    }
    EXPECT_TRUE(w.top >= r.work.top && w.top + f.top <= r.work.bottom && w.left >= r.work.left);
  }
}

}  // namespace
}  // namespace quorvane
