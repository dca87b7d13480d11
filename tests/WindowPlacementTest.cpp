// Where a window opens: its designed place where it fits whole inside the
// work area, else moved into it as little as it must; its size as designed.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/Form1Layout.h"
#include "win32/WindowPlacement.h"

namespace quorvane {
namespace {

int Px(int twips, int dpi) { return static_cast<int>(std::floor(twips * dpi / 1440.0 + 0.5)); }

enum Edge { Kept, Start, End };  // where the window lands on one axis

TEST(WindowPlacement, OnTheScreenAtEveryScale) {
  const struct Row {
    int dpi;
    ScreenRect work;
    Edge x, y;
    ScreenRect home{};  // the monitor holding the designed place, if another
  } rows[] = {{96, {0, 0, 1920, 1040}, Kept, Kept},    // fits
              {120, {0, 0, 1366, 728}, Kept, End},     // crosses the bottom edge
              {96, {0, 0, 800, 1040}, End, Kept},      // crosses the right edge
              {168, {0, 0, 1280, 984}, End, End},      // crosses both
              {192, {0, 0, 1024, 738}, Start, Start},  // larger than the work area
              {96, {-1920, 0, 0, 1040}, End, Kept},    // a monitor to the left
              {120, {-1280, -1024, 0, 0}, End, End},   // a monitor above and to the left
              {120, {0, 0, 1920, 1040}, Kept, Kept},
              {144, {0, 0, 1920, 1040}, Kept, Kept},
              {168, {0, 0, 1920, 1040}, Kept, End},
              {192, {0, 0, 1920, 1040}, Kept, End},
              // the owner on a second monitor to the right of the first
              {144, {1920, 0, 3840, 1040}, Kept, Kept, {0, 0, 1920, 1040}}};
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.dpi << " dpi, " << r.work.left << "," << r.work.top);
    // A sizable frame with a title bar and a menu bar.
    const FrameMargins f{8 * r.dpi / 96, 51 * r.dpi / 96, 8 * r.dpi / 96, 8 * r.dpi / 96};
    const ScreenRect home = r.home.right ? r.home : r.work;
    const ScreenRect w =
        PlaceWindow({kDesignedLeftTwips, kDesignedTopTwips, kClientWidthTwips, kClientHeightTwips},
                    f, r.work, r.dpi, home);
    const int width = f.left + Px(kClientWidthTwips, r.dpi) + f.right;
    const int height = f.top + Px(kClientHeightTwips, r.dpi) + f.bottom;
    const int left[] = {Px(kDesignedLeftTwips, r.dpi) - f.left + r.work.left - home.left,
                        r.work.left, r.work.right - width};
    const int top[] = {Px(kDesignedTopTwips, r.dpi) - f.top + r.work.top - home.top, r.work.top,
                       r.work.bottom - height};
    EXPECT_EQ(w, (ScreenRect{left[r.x], top[r.y], left[r.x] + width, top[r.y] + height}));
  }
}

}  // namespace
}  // namespace quorvane
