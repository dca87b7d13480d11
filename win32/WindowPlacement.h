// Where a top-level window opens: its client area at the designed place and
// size, scaled to the dpi of its monitor, and the whole window moved into that
// monitor's work area as little as it must; an owned window on its owner's
// monitor. No Windows headers, so native
// tests check it.
#pragma once

#include "win32/WindowTable.h"

namespace quorvane {

// A rectangle of the screen in pixels; right and bottom lie outside it.
struct ScreenRect {
  int left, top, right, bottom;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};

// A client area as designed, in twips from the screen's top-left corner.
struct DesignedClient {
  int left, top, width, height;
};

// What the border, title bar and menu bar add around the client area, in
// pixels at the window's dpi.
struct FrameMargins {
  int left, top, right, bottom;
};

// The window's rectangle with its client area at the designed place.
constexpr ScreenRect DesignedWindow(DesignedClient client, FrameMargins frame, int dpi) {
  const int left = TwipsToPixels(client.left, dpi);
  const int top = TwipsToPixels(client.top, dpi);
  return {left - frame.left, top - frame.top, left + TwipsToPixels(client.width, dpi) + frame.right,
          top + TwipsToPixels(client.height, dpi) + frame.bottom};
}

namespace placement {

// One axis: a span from `start`, `length` long, moved into [low, high) as
// little as it must; a span longer than that starts at `low`, so that the
// title bar and the left edge stay reachable.
constexpr int Into(int start, int length, int low, int high) {
  if (length > high - low || start < low) return low;
  if (start + length > high) return high - length;
  return start;
}

}  // namespace placement

// The window at `dpi`, at its designed place where it fits whole inside
// `work`, else moved into it. Its size, and the places of the controls inside
// it, stay as designed. `home` is the work area of the monitor that holds the
// designed place: on another monitor, the designed place is first carried
// over by the difference of the two work areas' top-left corners.
constexpr ScreenRect PlaceWindow(DesignedClient client, FrameMargins frame, ScreenRect work,
                                 int dpi, ScreenRect home) {
  const ScreenRect designed = DesignedWindow(client, frame, dpi);
  const int dx = work.left - home.left, dy = work.top - home.top;
  const int left = placement::Into(designed.left + dx, designed.Width(), work.left, work.right);
  const int top = placement::Into(designed.top + dy, designed.Height(), work.top, work.bottom);
  return {left, top, left + designed.Width(), top + designed.Height()};
}

// On the monitor that holds the designed place.
constexpr ScreenRect PlaceWindow(DesignedClient client, FrameMargins frame, ScreenRect work,
                                 int dpi) {
  return PlaceWindow(client, frame, work, dpi, work);
}

}  // namespace quorvane
