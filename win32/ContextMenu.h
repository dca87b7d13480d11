// A context menu's lines, and the popup menu made of them as Windows draws
// it. The window that shows it gives it its colours (WindowFrame::TrackPopup).
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "win32/Owned.h"

namespace quorvane::win32 {

// A command (id above 0) with its caption, "&" before its access key, and
// whether it can be chosen now; or a separator (id 0).
struct MenuLine {
  UINT id;
  std::wstring caption;
  bool enabled = true;
};

OwnedMenu MakePopupMenu(std::span<const MenuLine> lines);

}  // namespace quorvane::win32
