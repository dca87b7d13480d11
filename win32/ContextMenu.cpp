#include "win32/ContextMenu.h"

namespace quorvane::win32 {

OwnedMenu MakePopupMenu(std::span<const MenuLine> lines) {
  OwnedMenu menu(CreatePopupMenu());
  for (const MenuLine& line : lines) {
    if (!menu) break;
    const UINT flags = line.id ? MF_STRING | (line.enabled ? MF_ENABLED : MF_GRAYED) : MF_SEPARATOR;
    AppendMenuW(menu.get(), flags, line.id, line.id ? line.caption.c_str() : nullptr);
  }
  return menu;
}

}  // namespace quorvane::win32
