// The commands of an edit control's own context menu, as Windows offers
// them: each enabled when Windows enables it, and carried out by the
// control's own message, so that the control does exactly what its own menu
// does.
#pragma once

#include <windows.h>

#include <vector>

#include "win32/ContextMenu.h"

namespace quorvane::win32 {

// Undo, Cut, Copy, Paste, Delete and Select All for `edit` as it is now.
std::vector<MenuLine> EditMenuLines(HWND edit);
// Carries out the command of one of those lines; false for any other id.
bool RunEditMenuCommand(HWND edit, UINT id);

}  // namespace quorvane::win32
