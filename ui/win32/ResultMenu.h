// The context menu of a result box: its row's two copy commands, which put
// the row on the clipboard as one number, then the box's own edit commands.
#pragma once

#include <windows.h>

#include "ui/Form1Commands.h"
#include "win32/TopLevelWindow.h"

namespace quorvane::win32 {

// WM_CONTEXTMENU of `box`, a box of `row` in `window`: `lp` is where the
// pointer was, or -1 from the keyboard, which shows the menu at the box.
void ShowResultMenu(HWND box, LPARAM lp, ResultRow row, Form1Commands& commands,
                    WindowFrame& window);

}  // namespace quorvane::win32
