// The two parts of a window that follow the palette through Windows' own
// settings rather than through the program's painting: the title bar, drawn
// by the Desktop Window Manager, and the tooltip, a common control.
#pragma once

#include <windows.h>

#include "win32/Brushes.h"

namespace quorvane::win32 {

// Asks for the title bar dark or light; on Windows that cannot, it stays as
// it is. `repaint`: the window is shown and its title bar changes now.
void SetDarkTitleBar(HWND window, bool dark, bool repaint);
// A tooltip in the palette's colours: unthemed with them when dark, themed
// again when not.
void ColourTooltip(HWND tip, const WindowColours& colours, bool wasDark);

}  // namespace quorvane::win32
