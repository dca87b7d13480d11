// A label that breaks its own caption (ui/HeadingLines.h): created as an
// owner-drawn static control, it draws the lines of BreakCaption one under
// the other, each without the system's word break.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::win32 {

// The lines of `caption` in a label `width` pixels wide, measured in the font
// selected into `dc`.
std::vector<std::wstring> HeadingLines(HDC dc, std::wstring_view caption, int width);

// Paints an owner-drawn static control that holds a heading: its parent's
// static colours and brush, its own font. False for any other item.
bool DrawHeadingLabel(const DRAWITEMSTRUCT& item);

}  // namespace quorvane::win32
