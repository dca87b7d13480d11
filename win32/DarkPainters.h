// What the program paints itself in dark mode, where Windows would paint
// light: push and option buttons (as NM_CUSTOMDRAW asks) and the frames. Each
// painter leaves the device context as it found it.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <string_view>

#include "win32/Brushes.h"

namespace quorvane::win32 {

// A push or option button in the palette, in every state Windows draws:
// disabled, focused, under the pointer, held down, default. Other kinds of
// button are left to Windows (CDRF_DODEFAULT).
LRESULT DrawButton(const NMCUSTOMDRAW& draw, const WindowColours& colours);
// Draws `text` in `r` with `format`, its access letter underlined only when
// `showAccel`. As DT_HIDEPREFIX does on Windows, and under Wine too, which
// ignores that flag.
void DrawCaption(HDC dc, std::wstring_view text, RECT r, UINT format, bool showAccel);
// A frame's background and etched lines in the palette.
void PaintFrame(HWND frame, HDC dc, const WindowColours& colours);

}  // namespace quorvane::win32
